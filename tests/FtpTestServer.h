#pragma once

// A real FTP server (pyftpdlib, tests/ftp_test_server.py) on 127.0.0.1 and a
// free port, serving a fresh folder; stopped when the object goes.

#include "TestFiles.h"
#include "TestServerProcess.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace kestrum::test {

class FtpTestServer {
public:
  // options: further arguments of the server script (--user U --password P,
  // --hostile, --die-after N, --mute).
  explicit FtpTestServer(const QStringList &options = {}) {
    // The programs under test reach it directly, never through a proxy.
    for (const char *name : {"ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY"})
      qunsetenv(name);
    QDir(dir_.path()).mkpath(QStringLiteral("logs"));
    server_ = std::make_unique<TestServerProcess>(
        QStringLiteral(KESTRUM_TESTS_DIR "/ftp_test_server.py"),
        QStringList{QStringLiteral("--root"), dir_.path()} + options);
  }

  bool started() const { return port() > 0; }
  int port() const { return server_->port(); }
  // The served folder's "logs" folder.
  QString logs() const { return dir_.path() + QStringLiteral("/logs/"); }
  void put(const QString &name, const QByteArray &bytes) const { writeAll(logs() + name, bytes); }

private:
  QTemporaryDir dir_;
  std::unique_ptr<TestServerProcess> server_;
};

} // namespace kestrum::test
