#include "profile/ConfigWriter.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace kestrum;
using namespace kestrum::test;

namespace {

class RecordingMessages : public Messages {
public:
  struct Shown {
    QString text, title;
    MessageIcon icon;
  };
  std::vector<Shown> shown;
  MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                     MessageButtons) override {
    shown.push_back({text, title, icon});
    return MessageAnswer::Ok;
  }
};

QStringList linesOf(const QByteArray &crlfText) {
  QStringList lines = QString::fromLatin1(crlfText).split(QStringLiteral("\r\n"));
  EXPECT_EQ(lines.takeLast(), QString()) << "the file ends with a line end";
  return lines;
}

TEST(ConfigWriter, WritesEveryUnconditionalLineInOrder) {
  QTemporaryDir dir;
  Profile p;
  p.Settings.ProfileName = QStringLiteral("Empty but two");
  p.Settings.ReportOn[3] = kTrue16;  // FULLDAILY, written after DAILY
  p.Settings.ReportOn[21] = kTrue16; // FULLBROWSER, written after BROWSER
  RecordingMessages messages;
  MakeCFG(p, {dir.path() + QLatin1Char('/'), false, QString()}, messages);
  EXPECT_TRUE(messages.shown.empty());

  const QStringList actual = linesOf(readAll(dir.filePath(QStringLiteral("analog.cfg"))));
  const QStringList expected =
      linesOf(readAll(QStringLiteral(KESTRUM_TEST_DATA "/data/two-reports.cfg")));
  ASSERT_EQ(actual.size(), expected.size());
  for (int i = 0; i < expected.size(); ++i) {
    if (expected[i].endsWith(QLatin1Char('*')))
      EXPECT_TRUE(actual[i].startsWith(expected[i].chopped(1))) << "line " << i + 1;
    else
      EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
  }
}

// A case sets some fields and names lines that must appear in this order,
// one right after the other, and lines that must not appear at all.
struct WriterCase {
  const char *name;
  std::function<void(Profile &, ConfigInputs &)> setUp;
  QStringList consecutive;
  QStringList absent;
};

void debugDsAndSummary(Profile &p) {
  p.Settings.DebugOn = kTrue16;
  p.Settings.DebugDns = kTrue16;
  p.Settings.DebugSummary = kTrue16;
}

const std::vector<WriterCase> kCases = {
    {"debug letters without ErrFile",
     [](Profile &p, ConfigInputs &) { debugDsAndSummary(p); },
     {"DEBUG DS", "WARNINGS OFF", ""},
     {"ERRFILE ", "ERRLINELENGTH 0"}},
    {"ErrFile adds E to both letter sets and the two error-file lines",
     [](Profile &p, ConfigInputs &) {
       debugDsAndSummary(p);
       p.Settings.WarningsOn = kTrue16;
       p.Settings.WarnLogProblems = kTrue16;
       p.Settings.WarnEmptyReports = kTrue16;
       p.Settings.ErrFile = QStringLiteral("./errors.txt");
     },
     {"DEBUG DES", "WARNINGS ELR", "ERRFILE ./errors.txt", "ERRLINELENGTH 0", ""},
     {}},
    {"debug and warnings on with no letter chosen",
     [](Profile &p, ConfigInputs &) {
       p.Settings.DebugOn = kTrue16;
       p.Settings.WarningsOn = kTrue16;
       p.Settings.ProgressFreq = 5000;
     },
     {"# Settings for Debug Level", "PROGRESSFREQ 5000", "DEBUG ", "WARNINGS ", ""},
     {}},
    {"every debug and warning letter in its order",
     [](Profile &p, ConfigInputs &) {
       auto &s = p.Settings;
       for (auto *b : {&s.DebugOn, &s.DebugCorrupt, &s.DebugDns, &s.DebugFiles, &s.DebugSummary,
                       &s.DebugUnknownDomains, &s.DebugNoDomainHosts, &s.WarningsOn,
                       &s.WarnInvalidConfig, &s.WarnDubiousConfig, &s.WarnMissingFiles,
                       &s.WarnLogProblems, &s.WarnPossibleProblems, &s.WarnEmptyReports})
         *b = kTrue16;
     },
     {"DEBUG CDFSUV", "WARNINGS CDFLMR"},
     {}},
    {"override off writes no format lines whatever they hold",
     [](Profile &p, ConfigInputs &) {
       p.Settings.LogFormat = QStringLiteral("COMBINED");
       p.Settings.ApacheLogFormat = QStringLiteral("%h %l");
     },
     {"NOROBOTS OFF", "", "# General settings"},
     {"# Logfile type overriding", "LOGFORMAT COMBINED"}},
    {"override on with all four formats empty",
     [](Profile &p, ConfigInputs &) { p.Settings.LogTypeOverride = kTrue16; },
     {"NOROBOTS OFF", "", "# Logfile type overriding", "", "# General settings"},
     {}},
    {"override on: the formats come before the LOGFILE they apply to, the defaults after",
     [](Profile &p, ConfigInputs &) {
       p.Settings.LogTypeOverride = kTrue16;
       p.Settings.LogFormat = QStringLiteral("COMBINED");
       p.Settings.ApacheLogFormat = QStringLiteral("%h %l %u %t \"%r\" %>s %b");
       p.Settings.DefaultLogFormat = QStringLiteral("COMMON");
       p.Settings.ApacheDefaultLogFormat = QStringLiteral("%h %l %u %t");
     },
     {"# I/O", "LOGFORMAT COMBINED", "APACHELOGFORMAT '%h %l %u %t \"%r\" %>s %b'", "LOGFILE ",
      "OUTFILE ", "NOROBOTS OFF", "", "# Logfile type overriding", "DEFAULTLOGFORMAT COMMON",
      "APACHEDEFAULTLOGFORMAT \"%h %l %u %t\"", ""},
     {}},
    {"TIMECOLS replaces the single time columns, ALLGRAPH the graphs, ALLBACK the six backs",
     [](Profile &p, ConfigInputs &) {
       p.Settings.TimeCols = QStringLiteral("Rr");
       p.Settings.HourCols = QStringLiteral("P");
       p.Settings.AllGraph = QStringLiteral("b");
       p.Settings.MonthGraph = QStringLiteral("R");
       p.Settings.AllBack = kTrue16;
       p.Settings.MonthBack = kTrue16;
     },
     {"#Report settings", "TIMECOLS Rr", "ALLGRAPH b", "ALLBACK ON", "MONTHROWS 0"},
     {"HOURCOLS P", "MONTHGRAPH R", "MONTHBACK ON", "MONTHBACK OFF"}},
    {"single time columns, graphs and backs in their own order",
     [](Profile &p, ConfigInputs &) {
       auto &s = p.Settings;
       s.ReportOrder = QStringLiteral("xmWdDhHQ");
       s.FiveCols = QStringLiteral("5");
       s.MonthCols = QStringLiteral("m");
       s.HourCols = QStringLiteral("h");
       s.FullDayGraph = QStringLiteral("P");
       s.WeekGraph = QStringLiteral("r");
       s.WeekBack = kTrue16;
       s.FiveRows = 12;
     },
     {"REPORTORDER xmWdDhHQ", "HOURCOLS h", "MONTHCOLS m", "FIVECOLS 5", "WEEKGRAPH r",
      "FULLDAYGRAPH P", "MONTHBACK OFF", "WEEKBACK ON", "FULLDAYBACK OFF", "FULLHOURBACK OFF",
      "QUARTERBACK OFF", "FIVEBACK OFF", "MONTHROWS 0", "WEEKROWS 0", "FULLDAYROWS 0",
      "FULLHOURROWS 0", "QUARTERROWS 0", "FIVEROWS 12", ""},
     {}},
    {"report columns, then all sorts, then all floors",
     [](Profile &p, ConfigInputs &) {
       auto &s = p.Settings;
       s.MarkChar = QStringLiteral("#");
       s.MinGraphWidth = 15;
       s.WeekBeginsOn = QStringLiteral("MONDAY");
       s.OsCols = QStringLiteral("Rr");
       s.HostCols = QStringLiteral("RrBb");
       s.OrgSortBy = QStringLiteral("BYTES");
       s.HostSortBy = QStringLiteral("REQUESTS");
       s.OsSortBy = QStringLiteral("PAGES");
       s.HostFloor = QStringLiteral("20r");
       s.StatusFloor = QStringLiteral("-50r");
     },
     {"FIVEROWS 0", "MARKCHAR \"#\"", "MINGRAPHWIDTH 15", "WEEKBEGINSON MONDAY", "HOSTCOLS RrBb",
      "OSCOLS Rr", "HOSTSORTBY REQUESTS", "ORGSORTBY BYTES", "OSSORTBY PAGES", "HOSTFLOOR 20r",
      "STATUSFLOOR -50r", ""},
     {}},
    {"lists end at the first empty entry",
     [](Profile &p, ConfigInputs &) {
       p.Aliases[0].Text = QStringLiteral("FILEALIAS /a /b");
       p.Aliases[1].Text = QStringLiteral("HOSTALIAS x y");
       p.Aliases[3].Text = QStringLiteral("NEVER WRITTEN");
       p.Excludes[0].Text = QStringLiteral("FILEEXCLUDE *.gif");
     },
     {"DIRSUFFIX ", "FILEALIAS /a /b", "HOSTALIAS x y", "", "# In/Excludes settings",
      "FILEEXCLUDE *.gif", "", "# Report Activation"},
     {"NEVER WRITTEN"}},
    {"offline mode reads the DNS cache only",
     [](Profile &p, ConfigInputs &in) {
       p.Settings.DnsMode = QStringLiteral("LOOKUP");
       in.OfflineMode = true;
     },
     {"DNSFILE ", "DNS READ", "DNSGOODHOURS 0"},
     {"DNS LOOKUP"}},
    {"an external resolver leaves the analyser to read its cache",
     [](Profile &p, ConfigInputs &) {
       p.Settings.DnsMode = QStringLiteral("WRITE");
       p.Settings.UseExternalDns = kTrue16;
     },
     {"DNS READ"},
     {"DNS WRITE"}},
    {"online DNS mode as stored",
     [](Profile &p, ConfigInputs &) {
       p.Settings.DnsMode = QStringLiteral("LOOKUP");
       p.Settings.DnsFile = QStringLiteral("./dns.KestrumDNS");
       p.Settings.DnsGoodHours = 672;
       p.Settings.DnsBadHours = -1;
     },
     {"DNSFILE ./dns.KestrumDNS", "DNS LOOKUP", "DNSGOODHOURS 672", "DNSBADHOURS -1"},
     {}},
    {"negative time offset; set optional general lines",
     [](Profile &p, ConfigInputs &) {
       auto &s = p.Settings;
       s.ImageDir = QStringLiteral("/images/");
       s.TimeOffset = -360;
       s.Gotos = QStringLiteral("FEW");
       s.CacheOutFile = QStringLiteral("./cache.out");
     },
     {"# General settings", "IMAGEDIR /images/", "TIMEOFFSET -360", "GOTOS FEW", "OUTPUT ",
      "COMPSEP ", "RAWBYTES OFF", "CACHEOUTFILE ./cache.out", ""},
     {"CACHEFILE "}},
    {"tree patterns by level",
     [](Profile &p, ConfigInputs &) {
       p.Settings.DirTreeLevel = 2;
       p.Settings.DomainTreeLevel = 1;
       p.Settings.BrowserTreeLevel = 2;
     },
     {"# Sub commands", "SUBDIR /*/*/", "SUBDOMAIN *.*", "SUBBROW */*.*", ""},
     {}},
    {"negative tree levels write the bare start patterns",
     [](Profile &p, ConfigInputs &) {
       p.Settings.DirTreeLevel = -3;
       p.Settings.DomainTreeLevel = -1;
       p.Settings.BrowserTreeLevel = 1;
     },
     {"# Sub commands", "SUBDIR /", "SUBDOMAIN *", "SUBBROW */*", ""},
     {}},
    {"browser tree levels other than 1 and 2 write nothing",
     [](Profile &p, ConfigInputs &) { p.Settings.BrowserTreeLevel = 3; },
     {"# Sub commands", "", "# Other unsupported Tags"},
     {"SUBBROW */*", "SUBBROW */*.*"}},
    {"other commands and time specs verbatim, line breaks included",
     [](Profile &p, ConfigInputs &in) {
       p.Settings.OtherCommands =
           QStringLiteral("SEARCHENGINE http://*x.example/* q\r\nLINKINCLUDE *");
       in.TimeSpecs = QStringLiteral("FROM -00-00-07\r\nTO -00-00-00");
     },
     {"# Other unsupported Tags", "SEARCHENGINE http://*x.example/* q", "LINKINCLUDE *", "",
      "# Time Specs", "FROM -00-00-07", "TO -00-00-00"},
     {}},
    {"values are copied untrimmed, enclosed where they hold blanks",
     [](Profile &p, ConfigInputs &) {
       p.Settings.LogFile = QStringLiteral(" a b ,c ");
       p.Settings.HostName = QStringLiteral("My, Site");
       p.Settings.ProfileName = QStringLiteral("Name with blanks # and hash");
     },
     {"# Settings from Name with blanks # and hash"},
     {}},
    {"blanks and hashes in single-argument values are enclosed",
     [](Profile &p, ConfigInputs &) {
       p.Settings.LogFile = QStringLiteral("/srv/web logs/access.log");
       p.Settings.OutFile = QStringLiteral("my report.html");
     },
     {"# I/O", "LOGFILE \"/srv/web logs/access.log\"", "OUTFILE \"my report.html\""},
     {}},
    {"a user's own enclosure is kept",
     [](Profile &p, ConfigInputs &) {
       p.Settings.HeaderFile = QStringLiteral("(already enclosed)");
       p.Settings.FooterFile = QStringLiteral("'foot er'");
     },
     {"# Layout settings", "HEADERFILE (already enclosed)", "FOOTERFILE 'foot er'"},
     {}},
};

void PrintTo(const WriterCase &c, std::ostream *os) {
  *os << c.name;
}

class ConfigWriterCases : public ::testing::TestWithParam<WriterCase> {};

TEST_P(ConfigWriterCases, WritesTheExpectedLines) {
  const WriterCase &c = GetParam();
  Profile p;
  ConfigInputs inputs{QStringLiteral("/unused/"), false, QString()};
  c.setUp(p, inputs);
  QStringList lines =
      ConfigLines(p, inputs).join(QStringLiteral("\r\n")).split(QStringLiteral("\r\n"));
  const QString all = QLatin1Char('\n') + lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
  const QString run = QLatin1Char('\n') + c.consecutive.join(QLatin1Char('\n')) + QLatin1Char('\n');
  EXPECT_TRUE(all.contains(run)) << "missing in order:\n"
                                 << run.toStdString() << "\nin:\n"
                                 << all.toStdString();
  for (const QString &line : c.absent)
    EXPECT_FALSE(lines.contains(line)) << "unexpected: " << line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Lines, ConfigWriterCases, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return "case" + std::to_string(info.index); });

TEST(ConfigWriter, OOIsOnOnlyForMinusOne) {
  EXPECT_EQ(OO(-1), QStringLiteral("ON"));
  for (int16_t v : {0, 1, 2, -2})
    EXPECT_EQ(OO(v), QStringLiteral("OFF")) << v;
}

// The analyser needs an argument enclosed when it holds a blank or '#' or
// ends in a backslash; a user's own enclosure is kept.
TEST(ConfigWriter, AnalogArgumentEnclosesWhatTheAnalyserWouldCut) {
  const struct {
    const char *value;
    const char *written;
  } cases[] = {
      {"plain", "plain"},
      {"", ""},
      {"Example Software", "\"Example Software\""},
      {"tab\there", "\"tab\there\""},
      {"#", "\"#\""},
      {"a#b", "\"a#b\""},
      {"C:\\logs\\", "\"C:\\logs\\\""},
      {"\"already quoted\"", "\"already quoted\""},
      {"'single quoted'", "'single quoted'"},
      {"(in parentheses)", "(in parentheses)"},
      {"say \"hi\" there", "'say \"hi\" there'"},
      {"it's \"both\"", "(it's \"both\")"},
      {"it's \"both\" (really)", "it's \"both\" (really)"},
      {"\"halfopen", "\"halfopen"},
      {"\"half open and blank", "'\"half open and blank'"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(AnalogArgument(QString::fromLatin1(c.value)), QString::fromLatin1(c.written))
        << c.value;
}

TEST(ConfigWriter, WritesWindows1252WithCrLf) {
  QTemporaryDir dir;
  Profile p;
  p.Settings.HostName = QStringLiteral("Caf\u00E9 \u20AC \u4E2D");
  RecordingMessages messages;
  MakeCFG(p, {dir.path() + QLatin1Char('/'), false, QString()}, messages);
  const QByteArray bytes = readAll(dir.filePath(QStringLiteral("analog.cfg")));
  EXPECT_TRUE(bytes.contains("\r\nHOSTNAME \"Caf\xE9 \x80 ?\"\r\n"));
  EXPECT_TRUE(bytes.endsWith("# Time Specs\r\n\r\n"));
  EXPECT_FALSE(bytes.contains("\n\n")) << "every line ends with CR LF";
}

TEST(ConfigWriter, FailureShowsTheMessageAndLeavesAReadOnlyFileUnchanged) {
  QTemporaryDir dir;
  const QString cfg = dir.filePath(QStringLiteral("analog.cfg"));
  writeAll(cfg, "OLD CONFIG\r\n");
  QFile::setPermissions(cfg, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

  RecordingMessages messages;
  MakeCFG(Profile{}, {dir.path() + QLatin1Char('/'), false, QString()}, messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, QStringLiteral("Error creating .cfg file"));
  EXPECT_EQ(messages.shown[0].title, QStringLiteral("Internal Error"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
  EXPECT_EQ(readAll(cfg), QByteArray("OLD CONFIG\r\n"));

  RecordingMessages again;
  MakeCFG(Profile{}, {dir.filePath(QStringLiteral("no/such/folder/")), false, QString()}, again);
  EXPECT_EQ(again.shown.size(), 1u);
}

} // namespace
