// Runs the download window for a server, as a run would, to look at it:
//   kestrum_download_window PORT LOCALDIR [SERVER]
// (SERVER 127.0.0.1 unless given, e.g. sftp://127.0.0.1; remote folder
// /logs/, pattern *.log, results window shown).

#include "shell/frmDownload.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

using namespace kestrum;

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fputs("usage: kestrum_download_window PORT LOCALDIR [SERVER]\n", stderr);
    return 2;
  }
  ProfileSettings s;
  s.FtpServer = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("127.0.0.1");
  s.FtpPort = QString::fromLocal8Bit(argv[1]);
  s.FtpRemoteDir = QStringLiteral("/logs/");
  s.FtpRemoteFiles = QStringLiteral("*.log");
  s.FtpTimeout = 3;
  s.FtpShowDownloaded = kTrue16;
  s.ProfileDir = QString::fromLocal8Bit(argv[2]);
  const DownloadOutcome outcome = ShowDownloadWindow(s, QDir::currentPath());
  std::printf("outcome %d\n", int(outcome));
  return 0;
}
