#include "dns/LogAddresses.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

using namespace kestrum::dns;

namespace {

TEST(LogAddresses, TellsNumericAddressesFromNames) {
  for (const char *yes : {"192.0.2.7", "::1", "2001:db8::17", "::ffff:192.0.2.1"})
    EXPECT_TRUE(IsNumericAddress(yes)) << yes;
  for (const char *no : {"", "192.0.2", "256.1.1.1", "192.0.2.7.example.com", "www.example.com",
                         "-", "2001:db8:::1", "[::1]"})
    EXPECT_FALSE(IsNumericAddress(no)) << no;
}

TEST(LogAddresses, TakesTheHostFieldOfEachLine) {
  struct Case {
    const char *line;
    HostField field;
    bool parsed;
    const char *host;
  };
  const HostField automatic;
  const HostField second{HostField::Kind::Token, 1, 0, '\0'};
  const HostField bracketed{HostField::Kind::Token, 0, 1, ']'};
  const Case cases[] = {
      {"192.0.2.1 - - [10/Oct/2025:13:55:36 +0000] \"GET / HTTP/1.1\" 200 5", automatic, true,
       "192.0.2.1"},
      {"host.example.com - bob [10/Oct/2025:13:55:36 +0000] \"GET /\" 200 5", automatic, true,
       "host.example.com"},
      {"192.0.2.2, -, 10/10/25, 13:55:36, W3SVC1, WWW, 10.0.0.1, 10, 100", automatic, true,
       "192.0.2.2"},
      {"this is no log line", automatic, false, ""},
      {"192.0.2.3", automatic, false, ""},
      {"2025-10-10 2001:db8::5 /index.html", second, true, "2001:db8::5"},
      {"2025-10-10", second, false, ""},
      {"[192.0.2.4] GET /", bracketed, true, "192.0.2.4"},
  };
  for (const auto &c : cases) {
    int w3c = -1;
    std::string host;
    EXPECT_EQ(HostOfLine(c.line, c.field, w3c, host), c.parsed) << c.line;
    if (c.parsed) {
      EXPECT_EQ(host, c.host) << c.line;
    }
  }
}

TEST(LogAddresses, StreamsPlainGzipWildcardAndW3cLogsAndReportsMissingOnes) {
  QTemporaryDir dir;
  const QString root = dir.path() + QLatin1Char('/');
  kestrum::test::writeAll(root + "a1.log",
                          "192.0.2.1 - - [10/Oct/2025:13:55:36 +0000] \"GET /\" 200 5\n"
                          "192.0.2.1 - - [10/Oct/2025:13:55:37 +0000] \"GET /\" 200 5\r\n"
                          "www.example.com - - [10/Oct/2025:13:55:37 +0000] \"GET /\" 200 5\n"
                          "garbage\n");
  kestrum::test::writeAll(root + "a2.log", "#Software: IIS\n"
                                           "#Fields: date time c-ip cs-method\n"
                                           "2025-10-10 13:55:36 2001:db8::9 GET\n");
  gzFile gz = gzopen(QFile::encodeName(root + "b.log.gz").constData(), "wb");
  ASSERT_NE(gz, nullptr);
  gzputs(gz, "192.0.2.2 - - [10/Oct/2025:13:55:36 +0000] \"GET /\" 200 5\n");
  gzclose(gz);

  ResolverConfig config;
  config.logs = {{root + "a?.log", {}}, {root + "b.log.gz", {}}, {root + "missing.log", {}}};
  LogAddresses found;
  QStringList warnings;
  CollectLogAddresses(config, found, [&](const QString &w) { warnings << w; });
  EXPECT_EQ(found.addresses,
            (std::unordered_set<std::string>{"192.0.2.1", "2001:db8::9", "192.0.2.2"}));
  EXPECT_EQ(found.filesRead, 3);
  EXPECT_EQ(found.lines, 6u);
  EXPECT_EQ(found.unparseable, 1u);
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_EQ(warnings[0], "Warning F: Failed to open logfile " + root + "missing.log: ignoring it");
}

} // namespace

namespace {

// Damaged input of every kind: a cut gzip stream, NUL bytes, a line far
// longer than the read buffer, random bytes through every parser.
TEST(LogAddresses, DamagedLogsAndRandomBytesNeverCrashTheReaders) {
  QTemporaryDir dir;
  const QString root = dir.path() + QLatin1Char('/');
  const QByteArray good = "192.0.2.1 - - [10/Oct/2025:13:55:36 +0000] \"GET /\" 200 5\n";
  QByteArray odd = good + QByteArray(200000, 'x') + "\n" + QByteArray("192.0.2.2\0 - - [", 16) +
                   "\n" + QByteArray(good).replace("192.0.2.1", "192.0.2.3");
  kestrum::test::writeAll(root + "odd.log", odd);
  gzFile gz = gzopen(QFile::encodeName(root + "cut.gz").constData(), "wb");
  for (int i = 0; i < 2000; ++i)
    gzputs(gz, "192.0.2.4 - - [10/Oct/2025:13:55:36 +0000] \"GET /\" 200 5\n");
  gzclose(gz);
  const QByteArray whole = kestrum::test::readAll(root + "cut.gz");
  kestrum::test::writeAll(root + "cut.gz", whole.left(whole.size() / 2));

  ResolverConfig config;
  config.logs = {{root + "odd.log", {}}, {root + "cut.gz", {}}};
  LogAddresses found;
  CollectLogAddresses(config, found, [](const QString &) {});
  EXPECT_TRUE(found.addresses.count("192.0.2.3"));
  EXPECT_TRUE(found.addresses.count("192.0.2.4"));   // read up to the cut
  EXPECT_EQ(found.addresses.count("192.0.2.2"), 0u); // cut at the NUL: no date field
  // The long line, the NUL line and perhaps the gzip stream's cut last line.
  EXPECT_GE(found.unparseable, 2u);
  EXPECT_LE(found.unparseable, 3u);

  std::mt19937 random(12);
  std::string bytes, host;
  for (int round = 0; round < 20000; ++round) {
    bytes.resize(random() % 80);
    for (char &c : bytes)
      c = static_cast<char>(" .:%[]\"'(#0123456789aSh\t"[random() % 24] ^
                            (random() % 16 == 0 ? random() : 0));
    int w3c = static_cast<int>(random() % 3) - 1;
    HostOfLine(bytes, HostFieldOfFormat(bytes, round % 2), w3c, host);
    SplitConfigLine(bytes);
    IsNumericAddress(bytes);
  }
}

} // namespace
