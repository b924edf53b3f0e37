// The baseline of the start-up benchmark: an empty QMainWindow, started and
// announced the way kestrum announces its window ("shown<TAB>title" once it
// has been shown and painted), ended by SIGTERM.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare"));
  window.resize(1000, 720);
  window.show();
  QTimer::singleShot(0, &window, [&window] {
    std::fprintf(stdout, "shown\t%s\n", qPrintable(window.windowTitle()));
    std::fflush(stdout);
  });
  return QApplication::exec();
}
