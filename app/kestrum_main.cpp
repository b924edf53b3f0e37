// kestrum: the desktop program. Its command line is the profile to open.

#include "platform/ProgramInfo.h"
#include "shell/FirstStart.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: kestrum [PROFILE]\n"
    "Edits Kestrum analysis profiles and runs the web-log analyser analog on them.\n"
    "\n"
    "PROFILE is the profile file (.Kestrum) to open; one pair of surrounding double\n"
    "quotes is removed. Without it the program opens the profile the start-up\n"
    "settings choose, at first the default template.\n"
    "\n"
    "Options:\n"
    "  --help       show this help and exit\n"
    "  --version    show the program's version and exit\n";

// The icon of every window, rendered from data/desktop/kestrum.svg.
QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/kestrum/icons/%1x%1/kestrum.png").arg(size), QSize(size, size));
  return icon;
}

} // namespace

int main(int argc, char *argv[]) {
  if (const auto status = kestrum::AnswerHelpOrVersion(argc, argv, "kestrum", kUsage))
    return *status;
  // A profile path never starts with "--" as a file manager passes it; such
  // an argument is a mistyped option.
  if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) {
    std::fprintf(stderr, "kestrum: unknown option %s\n%s", argv[1], kUsage);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrum"));
  QApplication::setApplicationVersion(QString::fromLatin1(kestrum::kVersionString));
  QApplication::setDesktopFileName(QStringLiteral("kestrum"));
  QApplication::setWindowIcon(ProgramIcon());
  return kestrum::RunKestrum(QApplication::arguments());
}
