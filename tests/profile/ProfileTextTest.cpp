#include "profile/ProfileText.h"

#include <gtest/gtest.h>

using namespace kestrum;

namespace {

QString valueOf(const QStringList &dump, const QString &name) {
  for (const QString &line : dump)
    if (line.startsWith(name + QLatin1Char('=')))
      return line.mid(name.size() + 1);
  ADD_FAILURE() << "no line for " << name.toStdString();
  return {};
}

TEST(ProfileText, DumpListsEveryFieldInFileOrderThenTheUsedListEntries) {
  Profile p;
  p.Aliases[0].Text = QStringLiteral("FILEALIAS a b");
  p.Aliases[2].Text = QStringLiteral("behind the gap");
  p.Excludes[0].Text = QStringLiteral("HOSTEXCLUDE *.bot");
  const QStringList dump = DumpProfile(p);
  ASSERT_EQ(dump.size(), 224 + 2);
  EXPECT_EQ(dump.first(), QStringLiteral("Signature="));
  EXPECT_EQ(dump[56], QStringLiteral("ReportOn0=False"));
  EXPECT_EQ(dump[87], QStringLiteral("ReportOn31=False"));
  EXPECT_EQ(dump[223], QStringLiteral("BrowserTreeLevel=0"));
  EXPECT_EQ(dump[224], QStringLiteral("Aliases[0]=FILEALIAS a b"));
  EXPECT_EQ(dump[225], QStringLiteral("Excludes[0]=HOSTEXCLUDE *.bot"));
}

TEST(ProfileText, DumpShowsStoredBytesAndValues) {
  Profile p;
  p.Settings.OtherCommands = QStringLiteral("A\\B\r\nC\tD\u0001\u00E9\u20AC");
  p.Settings.NoRobots = kTrue16;
  p.Settings.AllBack = 5;
  p.Settings.TimeOffset = -360;
  const QStringList dump = DumpProfile(p);
  EXPECT_EQ(valueOf(dump, QStringLiteral("OtherCommands")),
            QStringLiteral("A\\\\B\\r\\nC\\tD\\x01\\xE9\\x80"));
  EXPECT_EQ(valueOf(dump, QStringLiteral("NoRobots")), QStringLiteral("True"));
  EXPECT_EQ(valueOf(dump, QStringLiteral("AllBack")), QStringLiteral("5"));
  EXPECT_EQ(valueOf(dump, QStringLiteral("TimeOffset")), QStringLiteral("-360"));
}

TEST(ProfileText, SetThenDumpRoundTripsEveryFieldType) {
  Profile original;
  original.Settings.OtherCommands = QStringLiteral("X\r\nY \\ \u00FF\u0081");
  original.Settings.NoRobots = kTrue16;
  original.Settings.AllBack = kTrue16;
  original.Settings.ReservedInt = -7;
  original.Settings.DirTreeLevel = -2;
  original.Settings.ReportOn[17] = kTrue16;
  original.Aliases[0].Text = QStringLiteral("FILEALIAS \"a b\" c");
  original.Excludes[1].Text = QStringLiteral("not used: entry 0 is empty");

  Profile rebuilt;
  for (const QString &line : DumpProfile(original))
    ASSERT_TRUE(SetProfileValue(rebuilt, line).ok()) << line.toStdString();
  original.Excludes[1].Text.clear(); // dump stops at the first empty entry
  EXPECT_EQ(rebuilt, original);
}

TEST(ProfileText, SetReadsNumbersAndBooleansLikeTheWindow) {
  Profile p;
  const struct {
    const char *assignment;
    const char *field;
    const char *dumped;
  } cases[] = {
      {"FtpTimeout=12abc", "FtpTimeout", "12"},
      {"FtpTimeout=2.5", "FtpTimeout", "2"},
      {"FtpTimeout=3.5", "FtpTimeout", "4"},
      {"FtpTimeout=", "FtpTimeout", "0"},
      {"NoRobots=True", "NoRobots", "True"},
      {"NoRobots=-1", "NoRobots", "True"},
      {"NoRobots=false", "NoRobots", "False"},
      {"NoRobots=0", "NoRobots", "False"},
      {"ReportOn9=True", "ReportOn9", "True"},
      {"LogFile=a=b", "LogFile", "a=b"},
      {"NoRobots=1", "NoRobots", "True"},
      {"NoRobots=TRUE", "NoRobots", "True"},
      {"HostName=a\xF0\x9F\x98\x80"
       "b",
       "HostName", "a?b"},
  };
  for (const auto &c : cases) {
    ASSERT_TRUE(SetProfileValue(p, QString::fromUtf8(c.assignment)).ok()) << c.assignment;
    EXPECT_EQ(valueOf(DumpProfile(p), QString::fromUtf8(c.field)), QString::fromUtf8(c.dumped))
        << c.assignment;
  }
}

TEST(ProfileText, BadAssignmentsAreRefusedAndChangeNothing) {
  Profile p;
  p.Settings.LogFile = QStringLiteral("kept");
  p.Settings.DebugOn = kFalse16;
  for (const char *bad : {"NoSuchField=1", "LogFile", "=x", "LogFile=\\q", "LogFile=\\x4",
                          "LogFile=ends\\", "Aliases[1001]=x", "Aliases[-1]=x", "Aliases[x]=y",
                          "DebugOn=2", "DebugOn=yes", "DebugOn=", "DebugOn=-1.0", "DebugOn=1x"}) {
    EXPECT_FALSE(SetProfileValue(p, QString::fromUtf8(bad)).ok()) << bad;
    EXPECT_EQ(p.Settings.LogFile, QStringLiteral("kept")) << bad;
    EXPECT_EQ(p.Settings.DebugOn, kFalse16) << bad;
  }
}

TEST(ProfileText, StampSetsSignatureAndVersion) {
  Profile p;
  p.Settings.Signature = QStringLiteral("Other");
  p.Settings.FormatVersion = 3;
  StampSignatureAndVersion(p);
  EXPECT_EQ(p.Settings.Signature, QStringLiteral("Kestrum"));
  EXPECT_EQ(p.Settings.FormatVersion, 20000);
}

} // namespace
