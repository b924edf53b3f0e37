// Saves a picture of every tab page of the main window with a profile loaded:
//   kestrum_page_screenshots OUTDIR [PROFILE]

#include "TestServices.h"
#include "shell/Globals.h"
#include "shell/MForm.h"
#include "shell/PageTable.h"
#include "shell/TabStrip.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QRegularExpression>

#include <cstdio>

using namespace kestrum;

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: kestrum_page_screenshots OUTDIR [PROFILE]\n", stderr);
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(outDir);
  ProgramGlobals &g = globals();
  initProgramPaths(g);
  g.CurrentProfilePath = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : g.ProgramDir + QStringLiteral("Template/Default.Kestrum");
  testing::RecordingMessages messages;
  testing::RecordingDesktop desktop;
  MForm window({&messages, nullptr, &desktop, false});
  window.OpenData();
  window.AliasBoxUpdate();
  window.ExBoxUpdate();
  window.InitWindow();
  window.resize(1024, 768);
  window.show();
  for (int i = 0; i < int(pageTable().size()); ++i) {
    window.MainTab()->setCurrentIndex(i);
    QApplication::processEvents();
    QString name = QString::fromUtf8(pageTable()[size_t(i)].caption).toLower();
    name.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    const QString file = QStringLiteral("%1/page-%2-%3.png")
                             .arg(outDir)
                             .arg(i + 1, 2, 10, QLatin1Char('0'))
                             .arg(name);
    window.grab().save(file);
    std::printf("%s\n", qUtf8Printable(file));
  }
  return 0;
}
