// A run with "Use external DNS" and the bundled kestrum-dns: the pipeline
// starts the resolver with the profile's parameters, the resolver asks a
// real DNS server, and the real analyser reads the cache with DNS READ.

#include "ProgramFolderCopy.h"
#include "dns/DnsTestServer.h"

#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

QByteArray logLine(const char *host, int second) {
  return QByteArray(host) + " - - [10/Oct/2025:13:55:" + QByteArray::number(10 + second) +
         " +0000] \"GET /index.html HTTP/1.1\" 200 512 \"-\" \"Mozilla/5.0\"\n";
}

TEST(ExternalDnsRun, TheAnalyserReportNamesTheHostsThatKestrumDnsLookedUp) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_TRUE(QFile::copy(ProgramFolderCopy::builtProgramDir() + QStringLiteral("kestrum-dns"),
                          folder.file(QStringLiteral("kestrum-dns"))));
  const std::map<std::string, std::string> names{{"192.0.2.1", "alpha.example.com"},
                                                 {"2001:db8::7", "beta.example.net"}};
  kestrum::test::DnsTestServer server(names);
  ASSERT_TRUE(server.started());
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("access.log")),
                        logLine("192.0.2.1", 0) + logLine("2001:db8::7", 1) +
                            logLine("192.0.2.9", 2) + logLine("192.0.2.1", 3)));

  const QString profile = folder.file(QStringLiteral("dns.Kestrum"));
  ASSERT_EQ(folder.cli({"new", profile}).exitCode, 0);
  const auto set =
      folder.cli({"set", profile, "LogFile=./access.log", "UseExternalDns=True",
                  "ExternalDnsProgram=kestrum-dns", "ShowExternalDns=True",
                  "ExternalDnsParams=/G analog.cfg /T 20 --server " + server.address()});
  ASSERT_EQ(set.exitCode, 0) << qPrintable(set.err);

  const auto run = folder.cli({"run", profile});
  ASSERT_FALSE(run.crashed);
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.out) << qPrintable(run.err);
  EXPECT_TRUE(run.out.contains("Main: running external DNS resolver...")) << qPrintable(run.out);
  // "Show the external application": the resolver's progress reaches the user.
  EXPECT_TRUE(run.out.contains("resolved 3 of 3 addresses, 1 unresolved")) << qPrintable(run.out);
  EXPECT_EQ(server.queries().size(), 3);

  const QString cfg = readText(folder.file(QStringLiteral("analog.cfg")));
  EXPECT_TRUE(cfg.contains("DNS READ\r\n")) << qPrintable(cfg);
  const QString cache = readText(folder.file(QStringLiteral("Default.KestrumDNS")));
  EXPECT_TRUE(cache.contains(" 192.0.2.1 alpha.example.com\n")) << qPrintable(cache);
  EXPECT_TRUE(cache.contains(" 192.0.2.9 *\n")) << qPrintable(cache);

  const QString report = readText(folder.file(QStringLiteral("Report.html")));
  EXPECT_TRUE(report.contains("alpha.example.com"));
  EXPECT_TRUE(report.contains("beta.example.net"));
  EXPECT_FALSE(report.contains("Failed to open DNS input file"));
}

} // namespace
