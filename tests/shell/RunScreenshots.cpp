// Pictures of the run dialog and of the main window at the end of a real
// run, for the documentation (run under Xvfb; the windows stay up for a few
// seconds so that the whole screen can be captured as well):
//   kestrum_run_screenshots OUTDIR dialog|run

#include "TestServices.h"
#include "shell/Globals.h"
#include "shell/MForm.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

using namespace kestrum;

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fputs("usage: kestrum_run_screenshots OUTDIR dialog|run\n", stderr);
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  const bool dialog = QLatin1String(argv[2]) == QLatin1String("dialog");
  QDir().mkpath(outDir);
  ProgramGlobals &g = globals();
  initProgramPaths(g);
  g.CurrentProfilePath = g.ProgramDir + QStringLiteral("Template/Default.Kestrum");
  testing::RecordingDesktop desktop; // the report is not opened in a browser
  MForm window({nullptr, nullptr, &desktop, true});
  window.OpenData();
  window.InitWindow();
  window.resize(1024, 740);
  window.show();

  const auto save = [&](QWidget *widget, const char *name) {
    const QString file = outDir + QLatin1Char('/') + QLatin1String(name);
    widget->grab().save(file);
    std::printf("%s\n", qUtf8Printable(file));
  };
  QTimer::singleShot(300, &window, [&] {
    if (dialog)
      window.mnuRunSettings_Click();
    else
      window.mnuRunResult_Click();
  });
  auto *poll = new QTimer(&window);
  QObject::connect(poll, &QTimer::timeout, &window, [&] {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
      return;
    poll->stop();
    if (dialog) {
      save(modal, "run-dialog.png");
      QTimer::singleShot(4000, qApp, &QApplication::quit);
      return;
    }
    save(modal, "run-finished-message.png");
    save(&window, "main-window-run-ending.png");
    QTimer::singleShot(4000, modal, [&, modal] {
      modal->close(); // OK on the message: the run ends
      QTimer::singleShot(500, &window, [&] {
        save(&window, "main-window-after-run.png");
        QTimer::singleShot(4000, qApp, &QApplication::quit);
      });
    });
  });
  poll->start(100);
  return app.exec();
}
