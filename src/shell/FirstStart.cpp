#include "FirstStart.h"

#include "Globals.h"
#include "MForm.h"
#include "ShellWindows.h"
#include "SignalClose.h"
#include "SplashWindow.h"
#include "StartUp.h"
#include "TabStrip.h"

#include <QApplication>
#include <QTimer>

namespace kestrum {
namespace {

// With KESTRUM_ANNOUNCE_SHOWN set, one line "shown<TAB>title" goes to
// standard output once the window has been shown and painted: scripts and
// the start-up benchmark wait for it.
void announceShown(MForm &window) {
  if (qEnvironmentVariableIsEmpty("KESTRUM_ANNOUNCE_SHOWN"))
    return;
  QTimer::singleShot(0, &window, [&window] {
    fprintf(stdout, "shown\t%s\n", qPrintable(window.windowTitle()));
    fflush(stdout);
  });
}

} // namespace

bool LoadFirstProfile(MForm &window, StartUp &startUp) {
  for (;;) {
    if (!startUp.ChooseFirstProfile())
      return false;
    if (window.document().Load(globals().CurrentProfilePath))
      return true;
    startUp.OfferNewOpen();
  }
}

void ShowMainWindow(MForm &window, SplashWindow *splash) {
  window.MainTab()->setCurrentIndex(0);
  window.AliasBoxUpdate();
  window.ExBoxUpdate();
  window.InitWindow();
  QApplication::processEvents();
  window.show();
  if (isTrue16(globals().Settings.Options.ShowTipsAtStartup))
    window.windows().TipOfDay(true);
  QApplication::processEvents();
  if (splash)
    splash->close();
}

int RunKestrum(const QStringList &arguments) {
  SplashWindow splash;
  // KESTRUM_NO_SPLASH leaves the splash window out (start-up measurements).
  if (qEnvironmentVariableIsEmpty("KESTRUM_NO_SPLASH"))
    splash.ShowNow();
  ProgramGlobals &g = globals();
  initProgramPaths(g);
  MForm window; // hidden until the first profile is shown
  StartUp startUp(
      g, window.messages(), [&window] { return window.windows().NewOpen(window.OpenDialog()); },
      CommandLine(arguments));
  startUp.repaint = [&splash] { splash.RepaintNow(); };
  if (!LoadFirstProfile(window, startUp))
    return 0;
  ShowMainWindow(window, &splash);
  CloseOnTerminationSignals(window);
  announceShown(window);
  return QApplication::exec();
}

} // namespace kestrum
