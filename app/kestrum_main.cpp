// kestrum: the desktop program. One optional argument: the profile to open.

#include "shell/Globals.h"
#include "shell/MForm.h"
#include "shell/TabStrip.h"

#include <QApplication>

using namespace kestrum;

namespace {

// The profile path of the command line: one leading and one trailing double
// quote are removed.
QString profileArgument(const QStringList &args) {
  if (args.size() < 2)
    return {};
  QString path = args.at(1);
  if (path.startsWith(QLatin1Char('"')))
    path.remove(0, 1);
  if (path.endsWith(QLatin1Char('"')))
    path.chop(1);
  return path;
}

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrum"));

  ProgramGlobals &g = globals();
  initProgramPaths(g);
  ReadSettingsFile(g.SettingsFile, g.Settings);

  MForm window;
  g.StartingUp = true;
  const QString argument = profileArgument(QApplication::arguments());
  g.CurrentProfilePath =
      argument.isEmpty() ? g.ProgramDir + QStringLiteral("Template/Default.Kestrum") : argument;
  window.OpenData();
  window.AliasBoxUpdate();
  window.ExBoxUpdate();
  window.InitWindow();
  window.MainTab()->setCurrentIndex(0);
  window.show();
  g.StartingUp = false;
  return app.exec();
}
