#pragma once

// A real DNS server (tests/dns_test_server.py) on 127.0.0.1 and a free
// port: PTR answers for the given addresses, NXDOMAIN for others, no answer
// at all for the silent ones. Every query it receives is recorded.

#include "TestFiles.h"
#include "TestServerProcess.h"

#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>

namespace kestrum::test {

class DnsTestServer {
public:
  DnsTestServer(const std::map<std::string, std::string> &names, const QStringList &silent = {},
                int delayMs = 0) {
    QStringList args{QStringLiteral("--queries"), queriesFile(), QStringLiteral("--delay-ms"),
                     QString::number(delayMs)};
    for (const auto &[address, name] : names)
      args << QStringLiteral("--answer") << QString::fromStdString(address + "=" + name);
    for (const QString &address : silent)
      args << QStringLiteral("--silent") << address;
    server_ = std::make_unique<TestServerProcess>(
        QStringLiteral(KESTRUM_TESTS_DIR "/dns_test_server.py"), args);
  }

  bool started() const { return server_->port() > 0; }
  QString address() const { return QStringLiteral("127.0.0.1:%1").arg(server_->port()); }
  // The query names received so far ("7.2.0.192.in-addr.arpa."), in order.
  QStringList queries() const {
    return QString::fromLatin1(readAll(queriesFile())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  void forgetQueries() const { writeAll(queriesFile(), {}); }

private:
  QString queriesFile() const { return dir_.filePath(QStringLiteral("queries")); }

  QTemporaryDir dir_;
  std::unique_ptr<TestServerProcess> server_;
};

} // namespace kestrum::test
