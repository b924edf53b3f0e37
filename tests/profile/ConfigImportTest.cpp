#include "profile/ConfigImport.h"
#include "TestFiles.h"
#include "profile/ConfigKeywords.h"
#include "profile/ConfigWriter.h"
#include "profile/ListKeywords.h"
#include "profile/ProfileFile.h"
#include "profile/ProfileText.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

using namespace kestrum;
using namespace kestrum::test;

namespace {

using S = ProfileSettings;

class NoMessages : public Messages {
public:
  MessageAnswer show(const QString &text, MessageIcon, const QString &, MessageButtons) override {
    ADD_FAILURE() << "message shown: " << qPrintable(text);
    return MessageAnswer::Ok;
  }
};

const ConfigInputs kInputs{QString(), false, QString(), QDateTime(QDate(2026, 1, 2), QTime(3, 4))};

QByteArray makeCfg(const Profile &p, const QString &dir) {
  NoMessages messages;
  ConfigInputs inputs = kInputs;
  inputs.ProgramDir = dir + QLatin1Char('/');
  EXPECT_TRUE(MakeCFG(p, inputs, messages).ok());
  return readAll(dir + QStringLiteral("/analog.cfg"));
}

void clearField(S &s, std::string_view name) {
  const FieldInfo *f = findProfileField(name);
  ASSERT_NE(f, nullptr) << name;
  if (f->type == FieldType::String)
    f->string(s).clear();
  else if (f->type == FieldType::I32)
    f->i32(s) = 0;
  else
    f->i16(s) = 0;
}

// The profile as analog.cfg shows it: every field the writer does not write
// for the profile `by` is cleared.
Profile written(Profile p, const Profile &by) {
  S &s = p.Settings;
  const S &b = by.Settings;
  // Never written: file bookkeeping, FTP, the external resolver, the run
  // dialog's period (written through TimeSpecs, which is not the profile's),
  // the analyser window switch and SearchConvert.
  for (std::string_view name :
       {"Signature",         "FormatVersion",  "ProfileDir",        "ShowAnalogWindow",
        "FtpEnabled",        "FtpServer",      "FtpRemoteDir",      "FtpPassword",
        "FtpUser",           "FtpProxy",       "FtpUseProxy",       "FtpDeleteAfterDownload",
        "FtpPort",           "FtpTimeout",     "FtpOverwriteLocal", "FtpRemoteFiles",
        "FtpShowDownloaded", "ReservedInt",    "SearchConvert",     "PeriodOption",
        "FromYear",          "FromMonth",      "FromDay",           "ToYear",
        "ToMonth",           "ToDay",          "UseExternalDns",    "ExternalDnsProgram",
        "ExternalDnsParams", "ShowExternalDns"})
    clearField(s, name);
  p.ReservedList.fill({});
  // Written only under a condition.
  if (b.DebugOn != kTrue16)
    for (const cfg::LetterSwitch &l : cfg::kDebugLetters)
      if (l.field)
        s.*l.field = 0;
  if (b.WarningsOn != kTrue16)
    for (const cfg::LetterSwitch &l : cfg::kWarningLetters)
      if (l.field)
        s.*l.field = 0;
  if (b.ErrFile.isEmpty())
    s.ErrLineLength = 0;
  if (b.LogTypeOverride != kTrue16)
    s.LogFormat = s.DefaultLogFormat = s.ApacheLogFormat = s.ApacheDefaultLogFormat = QString();
  if (b.UseExternalDns == kTrue16)
    s.DnsMode.clear();
  if (!b.TimeCols.isEmpty())
    for (const cfg::StringCommand &c : cfg::kTimeCols)
      (s.*c.field).clear();
  if (!b.AllGraph.isEmpty())
    for (const cfg::StringCommand &c : cfg::kGraphs)
      (s.*c.field).clear();
  if (b.AllBack == kTrue16)
    for (const cfg::SwitchCommand &c : cfg::kBackwards)
      s.*c.field = 0;
  return p;
}

// Random profiles of what the writer can express. Left out: line breaks in
// values (they end the command line), values that start with a quote or a
// parenthesis or hold all of ", ' and ) (taken as the user's own enclosure,
// or impossible to enclose), switches holding other values than -1 and 0,
// and tree levels outside 0 to 5 (browser 0 to 2), which the writer cannot
// write as a level.
class RandomProfiles {
public:
  explicit RandomProfiles(unsigned seed) : rng_(seed) {}

  Profile next() {
    Profile p;
    for (const FieldInfo &f : profileFields()) {
      switch (f.type) {
      case FieldType::String: f.string(p.Settings) = oneIn(4) ? QString() : value(); break;
      case FieldType::I32: f.i32(p.Settings) = number(); break;
      case FieldType::Bool16: f.i16(p.Settings) = oneIn(2) ? kTrue16 : kFalse16; break;
      case FieldType::I16: f.i16(p.Settings) = int16_t(number()); break;
      }
    }
    p.Settings.DirTreeLevel = pick(0, 5);
    p.Settings.DomainTreeLevel = pick(0, 5);
    p.Settings.BrowserTreeLevel = pick(0, 2);
    fillList(p.Aliases, aliasKeywords(), 2);
    fillList(p.Excludes, inclusionKeywords(), 1);
    QStringList other;
    for (int i = pick(0, 3); i > 0; --i)
      other.append(kOtherLines[pick(0, std::size(kOtherLines) - 1)]);
    p.Settings.OtherCommands = other.join(QStringLiteral("\r\n"));
    return p;
  }

private:
  static constexpr const char *kOtherLines[] = {
      "ROBOTINCLUDE Googlebot*",
      "SEARCHENGINE http://*search.example/* q",
      "TYPEALIAS .gz .gz \"Compressed file\"",
      "HOSTNAME two words",
      "LOGFILE other.log http://prefix.example",
      "DEBUG +C",
      "NOROBOTS maybe",
  };

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool oneIn(int n) { return pick(1, n) == 1; }

  int32_t number() {
    switch (pick(0, 4)) {
    case 0: return 0;
    case 1: return std::numeric_limits<int32_t>::min();
    case 2: return std::numeric_limits<int32_t>::max();
    default: return pick(-100000, 100000);
    }
  }

  QString value() {
    static const QString pool = QStringLiteral("abcXYZ019 ,.-_/*%:;=#\\\t\"'()\u00e9\u00fc\u20ac");
    for (;;) {
      QString v;
      for (int n = pick(1, 12); n > 0; --n)
        v += pool[pick(0, int(pool.size()) - 1)];
      const bool enclosureStart = v.startsWith(u'"') || v.startsWith(u'\'') || v.startsWith(u'(');
      const bool cannotEnclose = v.contains(u'"') && v.contains(u'\'') && v.contains(u')');
      if (!enclosureStart && !cannotEnclose)
        return v;
    }
  }

  QString word() {
    static const QString pool = QStringLiteral("abz09*./?");
    QString w;
    for (int n = pick(1, 8); n > 0; --n)
      w += pool[pick(0, int(pool.size()) - 1)];
    return w;
  }

  void fillList(std::array<ListEntry, kListSize> &list, std::span<const char *const> keywords,
                int words) {
    for (int i = pick(0, 4) - 1; i >= 0; --i) {
      QString line = QString::fromLatin1(keywords[pick(0, int(keywords.size()) - 1)]);
      if (oneIn(3))
        line = line.toLower();
      for (int w = 0; w < words; ++w)
        line += QLatin1Char(' ') + (oneIn(4) ? QStringLiteral("\"a b\"") : word());
      list[i].Text = line;
    }
  }

  std::mt19937 rng_;
};

QString dumpDifference(const Profile &expected, const Profile &actual) {
  const QStringList e = DumpProfile(expected), a = DumpProfile(actual);
  QString out;
  for (const QString &line : e)
    if (!a.contains(line))
      out += QStringLiteral("\n  expected ") + line;
  for (const QString &line : a)
    if (!e.contains(line))
      out += QStringLiteral("\n  imported ") + line;
  return out;
}

// import(MakeCFG(p)) gives back p's written fields, and MakeCFG of the
// import is the same file again.
void expectRoundTrip(const Profile &p, const Profile &templateProfile, const std::string &what) {
  QTemporaryDir first, second;
  const QByteArray cfg = makeCfg(p, first.path());
  Profile imported;
  ImportSummary summary;
  ASSERT_TRUE(
      ImportAnalogConfig(first.filePath("analog.cfg"), templateProfile, imported, summary).ok());
  EXPECT_TRUE(summary.problems.isEmpty())
      << what << ": " << qPrintable(summary.problems.join('\n'));
  EXPECT_TRUE(written(imported, p) == written(p, p))
      << what << ":" << qPrintable(dumpDifference(written(p, p), written(imported, p)));
  EXPECT_EQ(QString::fromLatin1(makeCfg(imported, second.path())), QString::fromLatin1(cfg))
      << what;
}

Profile builtTemplate(const QString &name) {
  Profile p;
  EXPECT_TRUE(
      ReadProfileFile(QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT "Template/") + name, p).ok());
  return p;
}

TEST(ConfigImport, RandomProfilesSurviveWriteAndImport) {
  const unsigned seed = 20261210;
  RandomProfiles profiles(seed);
  const Profile defaultTemplate = builtTemplate(QStringLiteral("Default.Kestrum"));
  for (int i = 0; i < 300; ++i) {
    expectRoundTrip(profiles.next(), defaultTemplate, "profile " + std::to_string(i));
    if (HasFailure())
      FAIL() << "seed " << seed << ", profile " << i;
  }
}

TEST(ConfigImport, BundledTemplatesSurviveWriteAndImport) {
  const QDir dir(QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT "Template"));
  const QStringList names = dir.entryList({QStringLiteral("*.Kestrum")}, QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  for (const QString &name : names)
    expectRoundTrip(builtTemplate(name), builtTemplate(name), name.toStdString());
}

// The analyser's command syntax: one line each, the name and arguments read.
struct ReaderCase {
  const char *text;
  const char *name;
  QStringList arguments;
};

TEST(CommandReader, ReadsTheAnalysersSyntax) {
  const ReaderCase cases[] = {
      {"hostname \"My Site\"   # the site", "HOSTNAME", {"My Site"}},
      {"  LogFile 'web \"logs\"/a.log'", "LOGFILE", {"web \"logs\"/a.log"}},
      {"APACHELOGFORMAT (%h \"%r\" '%u')", "APACHELOGFORMAT", {"%h \"%r\" '%u'"}},
      {"REPORTORDER ab\\\r\ncd", "REPORTORDER", {"abcd"}},
      {"MARKCHAR \"#\"", "MARKCHAR", {"#"}},
      {"FILEALIAS\t/a.html  /b.html#moved", "FILEALIAS", {"/a.html", "/b.html"}},
      {"GOTOS", "GOTOS", {}},
      {"DNSFILE \"C:\\dns\\\"", "DNSFILE", {"C:\\dns\\"}},
  };
  for (const ReaderCase &c : cases) {
    CommandFile file;
    ReadCommandText(QString::fromLatin1(c.text), QStringLiteral("x.cfg"), file);
    ASSERT_EQ(file.lines.size(), 1) << c.text;
    EXPECT_EQ(file.lines[0].kind, CommandLine::Command) << c.text;
    EXPECT_EQ(file.lines[0].name, QLatin1String(c.name)) << c.text;
    EXPECT_EQ(file.lines[0].arguments, c.arguments) << c.text;
  }
}

TEST(CommandReader, ACommentIsNeverContinued) {
  CommandFile file;
  ReadCommandText(QStringLiteral("# ends in a backslash \\\nHOSTNAME x\n\n  \n"),
                  QStringLiteral("x.cfg"), file);
  ASSERT_EQ(file.lines.size(), 2);
  EXPECT_EQ(file.lines[0].kind, CommandLine::Comment);
  EXPECT_EQ(file.lines[1].name, QStringLiteral("HOSTNAME"));
  EXPECT_EQ(file.lines[1].line, 2);
  EXPECT_EQ(file.blankLines, 2);
}

// What single commands do to the profile, and what is kept as written.
struct MappingCase {
  const char *lines;
  QStringList fields; // as DumpProfile shows them
  const char *kept;   // OtherCommands afterwards
};

TEST(ConfigImport, MapsCommandsOntoFields) {
  const MappingCase cases[] = {
      {"DAILYSUM OFF\nhourlyrep on", {"ReportOn4=False", "ReportOn5=True"}, ""},
      {"DAYREPCOLS RPB\nBROWSUMSORTBY PAGES\nQUARTERREPROWS 7",
       {"FullDayCols=RPB", "BrowSortBy=PAGES", "QuarterRows=7"},
       ""},
      {"PLAINPAGEWIDTH 90", {"AsciiPageWidth=90"}, ""},
      {"DEBUG ON", {"DebugOn=True", "DebugFiles=True", "DebugNoDomainHosts=True"}, ""},
      {"DEBUG CES",
       {"DebugOn=True", "DebugCorrupt=True", "DebugSummary=True", "DebugDns=False"},
       ""},
      {"WARNINGS OFF", {"WarningsOn=False"}, ""},
      {"WARNINGS", {"WarningsOn=True", "WarnInvalidConfig=False"}, ""},
      {"DEBUG +C", {}, "DEBUG +C"},
      {"SUBDIR /*/*/\nSUBDOMAIN *.*.*\nSUBBROW */*.*",
       {"DirTreeLevel=2", "DomainTreeLevel=2", "BrowserTreeLevel=2"},
       ""},
      {"SUBDIR /images/*", {"DirTreeLevel=0"}, "SUBDIR /images/*"},
      {"FROM 250901\nTO 251231",
       {"PeriodOption=0", "FromYear=25", "FromMonth=09", "FromDay=01", "ToMonth=12"},
       ""},
      {"FROM -00-00-07\nTO -00-00-00", {"PeriodOption=1", "FromDay=-07", "ToYear=-00"}, ""},
      {"FROM 20250901", {}, "FROM 20250901"},
      {"LOGFILE a.log\nlogfile 'b c.log'", {"LogFile=a.log,b c.log"}, ""},
      {"LOGFILE a.log http://prefix/", {"LogFile="}, "LOGFILE a.log http://prefix/"},
      {"HOSTNAME first\nHOSTNAME second", {"HostName=second"}, ""},
      {"HOSTNAME two words", {"HostName=www.example.com"}, "HOSTNAME two words"},
      {"APACHELOGFORMAT (%h %r)", {"LogTypeOverride=True", "ApacheLogFormat=%h %r"}, ""},
      {"NOROBOTS yes\nASCIIPAGEWIDTH wide",
       {"NoRobots=True", "AsciiPageWidth=76"},
       "NOROBOTS yes\r\nASCIIPAGEWIDTH wide"},
      {"hostexclude *.example.com # robots\nFILEALIAS /a /b",
       {"Excludes[0]=hostexclude *.example.com # robots", "Aliases[0]=FILEALIAS /a /b"},
       ""},
      {"SEARCHENGINE http://*x/* q\nUNKNOWNCOMMAND x",
       {},
       "SEARCHENGINE http://*x/* q\r\n"
       "UNKNOWNCOMMAND x"},
      {"# Settings from My site\n# Logfile type overriding",
       {"ProfileName=My site", "LogTypeOverride=True"},
       ""},
  };
  Profile start;
  start.Settings.HostName = QStringLiteral("www.example.com");
  start.Settings.NoRobots = kTrue16;
  start.Settings.AsciiPageWidth = 76;
  start.Settings.LogFile = QStringLiteral("template.log");
  start.Aliases[0].Text = QStringLiteral("FILEALIAS /template /x");
  for (const MappingCase &c : cases) {
    CommandFile file;
    ReadCommandText(QString::fromLatin1(c.lines), QStringLiteral("x.cfg"), file);
    Profile p = ImportStart(start);
    ImportSummary summary;
    ApplyCommandFile(file, p, summary);
    const QStringList dump = DumpProfile(p);
    for (const QString &field : c.fields)
      EXPECT_TRUE(dump.contains(field)) << c.lines << " should give " << qPrintable(field);
    EXPECT_EQ(p.Settings.OtherCommands, QLatin1String(c.kept)) << c.lines;
    EXPECT_TRUE(summary.problems.isEmpty()) << c.lines;
  }
}

// Bad input: the import goes on and names the line and why, or refuses the
// whole file.
struct BadInputCase {
  const char *what;
  std::vector<std::pair<QString, QByteArray>> files; // the first is imported
  const char *refusal;                               // empty: imported
  const char *problem;                               // in the summary
  const char *kept;                                  // OtherCommands afterwards
};

TEST(ConfigImport, BadInput) {
  const QByteArray longName = QByteArray(260, 'x');
  const QByteArray half = QByteArray(130, 'y');
  const BadInputCase cases[] = {
      {"a line over 254 characters",
       {{"a.cfg", "HOSTNAME " + longName + "\nOUTFILE r.html\n"}},
       "",
       "a.cfg:1: longer than the analyser's 254 characters",
       ""},
      {"a line over 254 characters after continuation",
       {{"a.cfg", "REPORTORDER " + half + "\\\n" + half + "\nOUTFILE r.html\n"}},
       "",
       "a.cfg:1: longer than",
       ""},
      {"an unterminated quote",
       {{"a.cfg", "OUTFILE r.html\nHOSTNAME \"My site\n"}},
       "",
       "a.cfg:2: a quote or parenthesis is not closed",
       "HOSTNAME \"My site"},
      {"an include loop",
       {{"a.cfg", "CONFIGFILE b.cfg\nOUTFILE r.html\n"},
        {"b.cfg", "HOSTNAME b\nCONFIGFILE a.cfg\n"}},
       "",
       "b.cfg:2: CONFIGFILE a.cfg includes a file that is being read already (a loop)",
       ""},
      {"a missing include",
       {{"a.cfg", "CONFIGFILE nowhere.cfg\nOUTFILE r.html\n"}},
       "",
       "a.cfg:1: CONFIGFILE nowhere.cfg cannot be read",
       "CONFIGFILE nowhere.cfg"},
      {"a binary include",
       {{"a.cfg", "CONFIGFILE b.cfg\nOUTFILE r.html\n"},
        {"b.cfg", QByteArray("\x7f"
                             "ELF\0\0",
                             6)}},
       "",
       "a.cfg:1: CONFIGFILE b.cfg cannot be read: ",
       "CONFIGFILE b.cfg"},
      {"more kept lines than a profile file holds",
       {{"a.cfg",
         "OUTFILE r.html\n" + QByteArray("UNKNOWN " + QByteArray(240, 'u') + "\n").repeated(300)}},
       "",
       "The profile cannot be saved until OtherCommands is shortened.",
       ""},
      {"a binary file",
       {{"a.cfg", QByteArray("OUTFILE r.html\n\0\0\0", 18)}},
       "binary file",
       "",
       ""},
      {"a folder", {{"a.cfg/x", "OUTFILE r.html\n"}}, "a.cfg", "", ""},
  };
  for (const BadInputCase &c : cases) {
    QTemporaryDir dir;
    for (const auto &[name, bytes] : c.files) {
      QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
      writeAll(dir.filePath(name), bytes);
    }
    Profile p;
    p.Settings.HostName = QStringLiteral("unchanged");
    ImportSummary summary;
    const Result r = ImportAnalogConfig(dir.filePath("a.cfg"), Profile{}, p, summary);
    if (*c.refusal) {
      ASSERT_FALSE(r.ok()) << c.what;
      EXPECT_TRUE(r.error.contains(QLatin1String(c.refusal)))
          << c.what << ": " << qPrintable(r.error);
      EXPECT_EQ(p.Settings.HostName, QStringLiteral("unchanged")) << c.what;
      continue;
    }
    ASSERT_TRUE(r.ok()) << c.what << ": " << qPrintable(r.error);
    EXPECT_EQ(p.Settings.OutFile, QStringLiteral("r.html")) << c.what << ": the import goes on";
    ASSERT_EQ(summary.problems.size(), 1) << c.what;
    EXPECT_TRUE(summary.problems[0].contains(QLatin1String(c.problem)))
        << c.what << ": " << qPrintable(summary.problems[0]);
    if (*c.kept) {
      EXPECT_EQ(p.Settings.OtherCommands, QLatin1String(c.kept)) << c.what;
    }
  }
}

TEST(ConfigImport, RefusesAFileOver16MiB) {
  QTemporaryDir dir;
  QFile big(dir.filePath("big.cfg"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.write("OUTFILE r.html\n");
  ASSERT_TRUE(big.resize(kMaxCommandFileSize + 1)); // sparse: no 16 MiB written
  big.close();
  Profile p;
  ImportSummary summary;
  const Result r = ImportAnalogConfig(big.fileName(), Profile{}, p, summary);
  ASSERT_FALSE(r.ok());
  EXPECT_TRUE(r.error.contains(QLatin1String("larger than 16 MiB"))) << qPrintable(r.error);
}

TEST(ConfigImport, IncludesDeeperThanTheLimitAreNotFollowed) {
  QTemporaryDir dir;
  for (int i = 0; i <= kMaxIncludeDepth + 1; ++i)
    writeAll(dir.filePath(QStringLiteral("%1.cfg").arg(i)),
             QStringLiteral("HOSTNAME h%1\nCONFIGFILE %2.cfg\n").arg(i).arg(i + 1).toLatin1());
  Profile p;
  ImportSummary summary;
  ASSERT_TRUE(ImportAnalogConfig(dir.filePath("0.cfg"), Profile{}, p, summary).ok());
  EXPECT_EQ(p.Settings.HostName, QStringLiteral("h%1").arg(kMaxIncludeDepth));
  EXPECT_EQ(summary.includedFiles, kMaxIncludeDepth);
  ASSERT_EQ(summary.problems.size(), 1);
  EXPECT_TRUE(summary.problems[0].contains(QLatin1String("nested more than 10 deep")))
      << qPrintable(summary.problems[0]);
}

TEST(ConfigImport, LinesAFullListCannotHoldGoToOtherCommands) {
  QString text;
  for (int i = 0; i <= kListSize; ++i)
    text += QStringLiteral("HOSTEXCLUDE host%1\n").arg(i);
  CommandFile file;
  ReadCommandText(text, QStringLiteral("x.cfg"), file);
  Profile p = ImportStart(Profile{});
  ImportSummary summary;
  ApplyCommandFile(file, p, summary);
  EXPECT_EQ(usedListLength(p.Excludes), kListSize);
  EXPECT_EQ(p.Settings.OtherCommands, QStringLiteral("HOSTEXCLUDE host%1").arg(kListSize));
  EXPECT_EQ(summary.mapped, kListSize);
  EXPECT_EQ(summary.kept, 1);
  ASSERT_EQ(summary.problems.size(), 1);
  EXPECT_TRUE(summary.problems[0].startsWith(QStringLiteral("x.cfg:1002: the in/exclusion list")));
}

} // namespace
