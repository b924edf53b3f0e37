// kestrum: the desktop program. Its command line is the profile to open.

#include "shell/FirstStart.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrum"));
  return kestrum::RunKestrum(QApplication::arguments());
}
