#include "FirstStart.h"

#include "Globals.h"
#include "MForm.h"
#include "ShellWindows.h"
#include "SplashWindow.h"
#include "StartUp.h"
#include "TabStrip.h"

#include <QApplication>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace kestrum {
namespace {

// SIGTERM and SIGINT close the main window, which runs Exit, so the
// settings are written when the session ends the program.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void closeOnSignals(MForm &window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
    return;
  auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
    char byte;
    [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
    window.close();
  });
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

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
  closeOnSignals(window);
  announceShown(window);
  return QApplication::exec();
}

} // namespace kestrum
