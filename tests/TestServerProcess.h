#pragma once

// A test server script (python3) that binds 127.0.0.1 at a free port and
// announces it with a line "PORT n"; killed when the object goes.

#include <QProcess>
#include <QStringList>

namespace kestrum::test {

class TestServerProcess {
public:
  TestServerProcess(const QString &script, const QStringList &args) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + args);
    while (process_.canReadLine() || process_.waitForReadyRead(10000)) {
      if (!process_.canReadLine())
        continue;
      const QByteArray line = process_.readLine().trimmed();
      if (line.startsWith("PORT ")) {
        port_ = line.mid(5).toInt();
        break;
      }
    }
  }
  TestServerProcess(const TestServerProcess &) = delete;
  TestServerProcess &operator=(const TestServerProcess &) = delete;
  ~TestServerProcess() {
    process_.kill();
    process_.waitForFinished();
  }

  // 0 until the server said its port (it never did when it failed to start).
  int port() const { return port_; }

private:
  QProcess process_;
  int port_ = 0;
};

} // namespace kestrum::test
