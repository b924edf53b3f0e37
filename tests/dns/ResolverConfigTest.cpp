#include "dns/ResolverConfig.h"

#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kestrum::dns;

namespace {

struct FieldCase {
  const char *format;
  bool apache;
  HostField::Kind kind;
  int token, skip;
  char stop;
};

TEST(ResolverConfig, FindsTheHostFieldOfALogFormat) {
  const FieldCase cases[] = {
      {"COMBINED", false, HostField::Kind::Auto, 0, 0, '\0'},
      {"%S %j %u [%d/%M/%Y:%h:%n:%j] \"%j%w%r%wHTTP%j\" %c %b", false, HostField::Kind::Token, 0, 0,
       '\0'},
      {"%Y-%m-%d %h:%n:%j %S %j", false, HostField::Kind::Token, 2, 0, '\0'},
      {"%d%w%S%w%r", false, HostField::Kind::Token, 1, 0, '\0'},
      {"[%S] %r", false, HostField::Kind::Token, 0, 1, ']'},
      {"%v %h %l %u %t \"%r\" %>s %b", true, HostField::Kind::Token, 1, 0, '\0'},
      {"%>s %a %b", true, HostField::Kind::Token, 1, 0, '\0'},
      {"%r %b", false, HostField::Kind::Auto, 0, 0, '\0'},
      {"%d %s %r", false, HostField::Kind::Token, 1, 0, '\0'},
      {"%d %*S %s", false, HostField::Kind::Token, 1, 0, '\0'},
  };
  for (const auto &c : cases) {
    const HostField field = HostFieldOfFormat(c.format, c.apache);
    EXPECT_EQ(field.kind, c.kind) << c.format;
    EXPECT_EQ(field.token, c.token) << c.format;
    EXPECT_EQ(field.skip, c.skip) << c.format;
    EXPECT_EQ(field.stop, c.stop) << c.format;
  }
}

TEST(ResolverConfig, ReadsLogsFormatsCacheAndHoursAsTheAnalyserDoes) {
  QTemporaryDir dir;
  const QString cfg = dir.filePath(QStringLiteral("analog.cfg"));
  kestrum::test::writeAll(cfg, "# comment LOGFILE ignored.log\r\n"
                               "logfile ./a.log,/abs/b.log.gz # comment\r\n"
                               "LOGFILE bare.log\r\n"
                               "LOGFORMAT \"%Y %S %r\"\r\n"
                               "LOGFILE './with blank.log'\r\n"
                               "DEFAULTLOGFORMAT (%j %S)\r\n"
                               "DNSFILE \"./my cache\"\r\n"
                               "DNSGOODHOURS 672\r\n"
                               "DNSBADHOURS x\r\n"
                               "DNS READ\r\n");
  ResolverConfig config;
  QString error;
  ASSERT_TRUE(ReadResolverConfig(cfg, config, error)) << error.toStdString();
  ASSERT_EQ(config.logs.size(), 4u);
  EXPECT_EQ(config.logs[0].path, QStringLiteral("./a.log"));
  EXPECT_EQ(config.logs[1].path, QStringLiteral("/abs/b.log.gz"));
  EXPECT_EQ(config.logs[2].path, QStringLiteral("/var/log/apache/bare.log"));
  EXPECT_EQ(config.logs[3].path, QStringLiteral("./with blank.log"));
  // The default format reaches the logs without a LOGFORMAT before them.
  EXPECT_EQ(config.logs[0].host.token, 1);
  EXPECT_EQ(config.logs[2].host.token, 1);
  EXPECT_EQ(config.logs[3].host.kind, HostField::Kind::Token);
  EXPECT_EQ(config.logs[3].host.token, 1);
  EXPECT_EQ(config.dnsFile, QStringLiteral("./my cache"));
  EXPECT_EQ(config.goodHours, 672);
  EXPECT_EQ(config.badHours, 336); // "x" is not a number: the default stays
}

TEST(ResolverConfig, DefaultsAndAMissingFile) {
  QTemporaryDir dir;
  const QString cfg = dir.filePath(QStringLiteral("analog.cfg"));
  kestrum::test::writeAll(cfg, "DNSFILE cache\n");
  ResolverConfig config;
  QString error;
  ASSERT_TRUE(ReadResolverConfig(cfg, config, error));
  ASSERT_EQ(config.logs.size(), 1u);
  EXPECT_EQ(config.logs[0].path, QStringLiteral("/var/log/apache/access.log"));
  EXPECT_EQ(config.dnsFile, QStringLiteral("/var/cache/analog/dns/cache"));
  EXPECT_EQ(config.goodHours, 100000);

  EXPECT_FALSE(ReadResolverConfig(dir.filePath(QStringLiteral("none.cfg")), config, error));
  EXPECT_TRUE(error.contains(QLatin1String("none.cfg")));
}

} // namespace
