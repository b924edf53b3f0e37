// kestrum: the desktop program. One optional argument: the profile to open.

#include "shell/FirstStart.h"
#include "shell/Globals.h"
#include "shell/MForm.h"

#include <QApplication>

using namespace kestrum;

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kestrum"));

  ProgramGlobals &g = globals();
  initProgramPaths(g);
  ReadSettingsFile(g.SettingsFile, g.Settings);

  g.StartingUp = true;
  MForm window; // hidden until the first profile is shown
  ShowFirstProfile(window, ProfileArgument(QApplication::arguments()));
  g.StartingUp = false;
  return app.exec();
}
