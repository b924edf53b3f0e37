// kestrum-dns as the run pipeline starts it, against a real DNS server.

#include "DnsTestServer.h"
#include "dns/DnsCacheFile.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>

using namespace kestrum::test;

namespace {

struct ResolverRun {
  int exitCode = -1;
  QString out, err;
};

ResolverRun runResolver(const QString &dir, const QStringList &args) {
  QProcess process;
  process.setWorkingDirectory(dir);
  process.start(QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT "kestrum-dns"), args);
  ResolverRun run;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

QByteArray logLine(const char *host) {
  return QByteArray(host) + " - - [10/Oct/2025:13:55:36 +0000] \"GET / HTTP/1.1\" 200 512\n";
}

void writeGzip(const QString &path, const QByteArray &bytes) {
  gzFile gz = gzopen(QFile::encodeName(path).constData(), "wb");
  gzwrite(gz, bytes.constData(), static_cast<unsigned>(bytes.size()));
  gzclose(gz);
}

// The cache's entries as address -> name (damaged lines left out); an
// address written twice shows as "twice".
std::map<std::string, std::string> cacheEntries(const QString &path) {
  std::map<std::string, std::string> entries;
  for (const QByteArray &line : readAll(path).split('\n')) {
    kestrum::dns::CacheLine entry;
    if (kestrum::dns::ParseCacheLine(line.toStdString(), entry))
      entries[entry.address] = entries.count(entry.address) ? "twice" : entry.name;
  }
  return entries;
}

QString ptr(const char *dottedQuad) {
  const QStringList parts = QString::fromLatin1(dottedQuad).split(QLatin1Char('.'));
  return parts[3] + '.' + parts[2] + '.' + parts[1] + '.' + parts[0] + ".in-addr.arpa.";
}

class KestrumDns : public ::testing::Test {
protected:
  QString file(const char *name) const { return dir_.filePath(QLatin1String(name)); }
  void writeConfig(const QByteArray &extra = {}) {
    writeAll(file("analog.cfg"), "LOGFILE ./access.log*,./missing.log\r\n"
                                 "DNSFILE ./test.KestrumDNS\r\n"
                                 "DNS READ\r\n" +
                                     extra);
  }
  ResolverRun resolve(const DnsTestServer &server, const QStringList &more = {}) {
    return runResolver(dir_.path(),
                       QStringList{"/G", "analog.cfg", "/T", "4", "--server", server.address(),
                                   "--timeout", "300", "--tries", "1"} +
                           more);
  }
  QTemporaryDir dir_;
};

TEST_F(KestrumDns, WritesTheNameOrAStarForEveryAddressOfPlainAndGzipLogs) {
  DnsTestServer server({{"192.0.2.1", "one.example"}, {"2001:db8::1", "six.example"}},
                       {"192.0.2.3"});
  ASSERT_TRUE(server.started());
  writeConfig();
  writeAll(file("access.log"), logLine("192.0.2.1") + logLine("192.0.2.2") +
                                   logLine("named.example.org") + "not a log line\n" +
                                   logLine("192.0.2.1"));
  writeGzip(file("access.log.1.gz"), logLine("2001:db8::1") + logLine("192.0.2.3"));

  const qint64 before = QDateTime::currentSecsSinceEpoch() / 60;
  const ResolverRun run = resolve(server);
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.out) << qPrintable(run.err);
  EXPECT_EQ(cacheEntries(file("test.KestrumDNS")),
            (std::map<std::string, std::string>{{"192.0.2.1", "one.example"},
                                                {"192.0.2.2", "*"},
                                                {"192.0.2.3", "*"},
                                                {"2001:db8::1", "six.example"}}));
  kestrum::dns::CacheLine first;
  ASSERT_TRUE(kestrum::dns::ParseCacheLine(
      readAll(file("test.KestrumDNS")).split('\n').first().toStdString(), first));
  EXPECT_GE(first.minutes, before);
  EXPECT_LE(first.minutes, before + 2);
  // Each address was asked once; the name in the host field was not.
  EXPECT_EQ(server.queries().size(), 4);
  EXPECT_TRUE(server.queries().contains(
      "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa."));

  EXPECT_TRUE(run.err.contains("kestrum-dns: Warning F: Failed to open logfile ./missing.log"))
      << qPrintable(run.err);
  EXPECT_TRUE(run.out.contains("read 7 log lines from 2 files: 4 unique addresses, 0 fresh in "
                               "the cache, 4 to look up"))
      << qPrintable(run.out);
  EXPECT_TRUE(run.out.contains("\n1 log line not parseable, skipped\n")) << qPrintable(run.out);
  EXPECT_TRUE(run.out.contains("resolved 4 of 4 addresses, 2 unresolved, "));
  EXPECT_TRUE(run.out.contains(QRegularExpression(
      "\ndone: 4 addresses looked up in [0-9.]+ s \\([0-9,]+ per second\\), 2 resolved, 2 "
      "unresolved; 1 log line not parseable\nDNS cache ./test.KestrumDNS written\n$")))
      << qPrintable(run.out);
}

TEST_F(KestrumDns, AsksOnlyForStaleEntriesAndNothingOnASecondRun) {
  DnsTestServer server({{"192.0.2.1", "a.example"},
                        {"192.0.2.2", "b.example"},
                        {"192.0.2.3", "c.example"},
                        {"192.0.2.4", "d.example"},
                        {"192.0.2.5", "e.example"}});
  ASSERT_TRUE(server.started());
  writeConfig("DNSGOODHOURS 24\r\nDNSBADHOURS 2\r\n");
  const long long now = QDateTime::currentSecsSinceEpoch() / 60;
  const QByteArray fresh = QByteArray::number(now - 60);
  const QByteArray old = QByteArray::number(now - 25 * 60);
  const QByteArray oldCache = fresh + " 192.0.2.1 cached-a.example\n" +          // fresh name
                              fresh + " 192.0.2.2 *\n" +                         // fresh failure
                              old + " 192.0.2.3 cached-c.example\n" +            // stale name
                              QByteArray::number(now - 180) + " 192.0.2.4 *\n" + // stale failure
                              "a damaged line\n";
  writeAll(file("test.KestrumDNS"), oldCache);
  QByteArray log;
  for (const char *host : {"192.0.2.1", "192.0.2.2", "192.0.2.3", "192.0.2.4", "192.0.2.5"})
    log += logLine(host);
  writeAll(file("access.log"), log);

  ResolverRun run = resolve(server);
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  QStringList asked = server.queries();
  asked.sort();
  EXPECT_EQ(asked, (QStringList{ptr("192.0.2.3"), ptr("192.0.2.4"), ptr("192.0.2.5")}));
  const QByteArray written = readAll(file("test.KestrumDNS"));
  EXPECT_TRUE(written.startsWith(fresh + " 192.0.2.1 cached-a.example\n" + fresh +
                                 " 192.0.2.2 *\na damaged line\n"))
      << written.toStdString();
  EXPECT_EQ(cacheEntries(file("test.KestrumDNS")),
            (std::map<std::string, std::string>{{"192.0.2.1", "cached-a.example"},
                                                {"192.0.2.2", "*"},
                                                {"192.0.2.3", "c.example"},
                                                {"192.0.2.4", "d.example"},
                                                {"192.0.2.5", "e.example"}}));

  server.forgetQueries();
  run = resolve(server);
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  EXPECT_TRUE(server.queries().isEmpty());
  EXPECT_EQ(readAll(file("test.KestrumDNS")), written);
  EXPECT_TRUE(run.out.contains("nothing to look up")) << qPrintable(run.out);
}

TEST_F(KestrumDns, ANameServerThatCannotBeReachedLeavesTheCacheAsItWas) {
  writeConfig();
  writeAll(file("access.log"), logLine("192.0.2.1") + logLine("192.0.2.2"));
  const QByteArray oldCache = "1000 192.0.2.1 old.example\n";
  writeAll(file("test.KestrumDNS"), oldCache);

  QString closedPort;
  {
    DnsTestServer gone({});
    ASSERT_TRUE(gone.started());
    closedPort = gone.address();
  }
  DnsTestServer mute({}, {"192.0.2.1", "192.0.2.2"});
  ASSERT_TRUE(mute.started());
  for (const QString &server : {closedPort, mute.address()}) {
    const ResolverRun run = runResolver(
        dir_.path(), {"/G", "analog.cfg", "--server", server, "--timeout", "200", "--tries", "1"});
    EXPECT_EQ(run.exitCode, 1) << qPrintable(server);
    EXPECT_TRUE(run.err.contains("the name server " + server +
                                 " does not answer; the DNS cache "
                                 "./test.KestrumDNS is left as it was"))
        << qPrintable(run.err);
    EXPECT_EQ(readAll(file("test.KestrumDNS")), oldCache);
  }
}

TEST(KestrumDnsUsage, BadOptionsAreUsageErrors) {
  const QStringList bad[] = {{"/T", "0"}, {"/T", "5000"},     {"-t", "x"}, {"/T"},
                             {"--bogus"}, {"--timeout", "0"}, {"/X", "1"}, {"--tries=0"}};
  QTemporaryDir dir;
  for (const QStringList &args : bad) {
    const ResolverRun run = runResolver(dir.path(), args);
    EXPECT_EQ(run.exitCode, 2) << qPrintable(args.join(' '));
    EXPECT_TRUE(run.err.startsWith("kestrum-dns: ")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("Usage: kestrum-dns")) << qPrintable(run.err);
  }
  const ResolverRun help = runResolver(dir.path(), {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains("-t, --threads N, /T N"));
  // No command file: a failure, not a usage error.
  EXPECT_EQ(runResolver(dir.path(), {"--config=none.cfg"}).exitCode, 1);
}

} // namespace
