#include "ConfigWriter.h"

#include "platform/Ansi.h"
#include "platform/FileIO.h"

#include <QFile>
#include <QLocale>

namespace kestrum {
namespace {

using S = ProfileSettings;
using StringMember = QString S::*;
using BoolMember = FieldBool16 S::*;

struct KeywordString {
  const char *keyword;
  StringMember field;
};

// Report activation: the summaries come before their full reports.
struct ReportKeyword {
  const char *keyword;
  int reportOn;
};
constexpr ReportKeyword kReportActivation[] = {
    {"GENERAL", 0},    {"MONTHLY", 1},      {"WEEKLY", 2},       {"DAILY", 4},
    {"FULLDAILY", 3},  {"HOURLY", 6},       {"FULLHOURLY", 5},   {"QUARTER", 7},
    {"FIVE", 8},       {"HOST", 9},         {"DOMAIN", 10},      {"REQUEST", 11},
    {"DIRECTORY", 12}, {"FILETYPE", 13},    {"SIZE", 14},        {"REDIR", 15},
    {"FAILURE", 16},   {"REFERRER", 17},    {"REFSITE", 18},     {"REDIRREF", 19},
    {"FAILREF", 20},   {"BROWSER", 22},     {"FULLBROWSER", 21}, {"VHOST", 23},
    {"USER", 24},      {"FAILUSER", 25},    {"STATUS", 26},      {"ORGANISATION", 27},
    {"PROCTIME", 28},  {"SEARCHQUERY", 29}, {"SEARCHWORD", 30},  {"OSREP", 31},
};

const KeywordString kTimeCols[] = {
    {"HOURCOLS ", &S::HourCols},       {"MONTHCOLS ", &S::MonthCols},
    {"WEEKCOLS ", &S::WeekCols},       {"DAYCOLS ", &S::DayCols},
    {"FULLDAYCOLS ", &S::FullDayCols}, {"FULLHOURCOLS ", &S::FullHourCols},
    {"QUARTERCOLS ", &S::QuarterCols}, {"FIVECOLS ", &S::FiveCols},
};

const KeywordString kGraphs[] = {
    {"MONTHGRAPH ", &S::MonthGraph},     {"WEEKGRAPH ", &S::WeekGraph},
    {"DAYGRAPH ", &S::DayGraph},         {"FULLDAYGRAPH ", &S::FullDayGraph},
    {"HOURGRAPH ", &S::HourGraph},       {"FULLHOURGRAPH ", &S::FullHourGraph},
    {"QUARTERGRAPH ", &S::QuarterGraph}, {"FIVEGRAPH ", &S::FiveGraph},
};

const struct {
  const char *keyword;
  BoolMember field;
} kBackwards[] = {
    {"MONTHBACK ", &S::MonthBack},     {"WEEKBACK ", &S::WeekBack},
    {"FULLDAYBACK ", &S::FullDayBack}, {"FULLHOURBACK ", &S::FullHourBack},
    {"QUARTERBACK ", &S::QuarterBack}, {"FIVEBACK ", &S::FiveBack},
};

const struct {
  const char *keyword;
  FieldI32 S::*field;
} kRows[] = {
    {"MONTHROWS ", &S::MonthRows},     {"WEEKROWS ", &S::WeekRows},
    {"FULLDAYROWS ", &S::FullDayRows}, {"FULLHOURROWS ", &S::FullHourRows},
    {"QUARTERROWS ", &S::QuarterRows}, {"FIVEROWS ", &S::FiveRows},
};

const KeywordString kReportCols[] = {
    {"HOSTCOLS ", &S::HostCols},
    {"DOMCOLS ", &S::DomCols},
    {"REQCOLS ", &S::ReqCols},
    {"DIRCOLS ", &S::DirCols},
    {"TYPECOLS ", &S::TypeCols},
    {"SIZECOLS ", &S::SizeCols},
    {"REDIRCOLS ", &S::RedirCols},
    {"FAILCOLS ", &S::FailCols},
    {"REFCOLS ", &S::RefCols},
    {"REFSITECOLS ", &S::RefSiteCols},
    {"REDIRREFCOLS ", &S::RedirRefCols},
    {"FAILREFCOLS ", &S::FailRefCols},
    {"FULLBROWCOLS ", &S::FullBrowCols},
    {"BROWCOLS ", &S::BrowCols},
    {"VHOSTCOLS ", &S::VHostCols},
    {"USERCOLS ", &S::UserCols},
    {"FAILUSERCOLS ", &S::FailUserCols},
    {"STATUSCOLS ", &S::StatusCols},
    {"ORGCOLS ", &S::OrgCols},
    {"PROCTIMECOLS ", &S::ProcTimeCols},
    {"SEARCHQUERYCOLS ", &S::SearchQueryCols},
    {"SEARCHWORDCOLS ", &S::SearchWordCols},
    {"OSCOLS ", &S::OsCols},
};

// Sort commands first, then the floor commands, both in this report order.
const struct {
  KeywordString sort;
  KeywordString floor;
} kSortAndFloor[] = {
    {{"HOSTSORTBY ", &S::HostSortBy}, {"HOSTFLOOR ", &S::HostFloor}},
    {{"DOMSORTBY ", &S::DomSortBy}, {"DOMFLOOR ", &S::DomFloor}},
    {{"REQSORTBY ", &S::ReqSortBy}, {"REQFLOOR ", &S::ReqFloor}},
    {{"DIRSORTBY ", &S::DirSortBy}, {"DIRFLOOR ", &S::DirFloor}},
    {{"TYPESORTBY ", &S::TypeSortBy}, {"TYPEFLOOR ", &S::TypeFloor}},
    {{"ORGSORTBY ", &S::OrgSortBy}, {"ORGFLOOR ", &S::OrgFloor}},
    {{"REDIRSORTBY ", &S::RedirSortBy}, {"REDIRFLOOR ", &S::RedirFloor}},
    {{"FAILSORTBY ", &S::FailSortBy}, {"FAILFLOOR ", &S::FailFloor}},
    {{"REFSORTBY ", &S::RefSortBy}, {"REFFLOOR ", &S::RefFloor}},
    {{"REFSITESORTBY ", &S::RefSiteSortBy}, {"REFSITEFLOOR ", &S::RefSiteFloor}},
    {{"REDIRREFSORTBY ", &S::RedirRefSortBy}, {"REDIRREFFLOOR ", &S::RedirRefFloor}},
    {{"FAILREFSORTBY ", &S::FailRefSortBy}, {"FAILREFFLOOR ", &S::FailRefFloor}},
    {{"FULLBROWSORTBY ", &S::FullBrowSortBy}, {"FULLBROWFLOOR ", &S::FullBrowFloor}},
    {{"BROWSORTBY ", &S::BrowSortBy}, {"BROWFLOOR ", &S::BrowFloor}},
    {{"VHOSTSORTBY ", &S::VHostSortBy}, {"VHOSTFLOOR ", &S::VHostFloor}},
    {{"USERSORTBY ", &S::UserSortBy}, {"USERFLOOR ", &S::UserFloor}},
    {{"FAILUSERSORTBY ", &S::FailUserSortBy}, {"FAILUSERFLOOR ", &S::FailUserFloor}},
    {{"STATUSSORTBY ", &S::StatusSortBy}, {"STATUSFLOOR ", &S::StatusFloor}},
    {{"SEARCHQUERYSORTBY ", &S::SearchQuerySortBy}, {"SEARCHQUERYFLOOR ", &S::SearchQueryFloor}},
    {{"SEARCHWORDSORTBY ", &S::SearchWordSortBy}, {"SEARCHWORDFLOOR ", &S::SearchWordFloor}},
    {{"OSSORTBY ", &S::OsSortBy}, {"OSFLOOR ", &S::OsFloor}},
};

bool isTrue(FieldBool16 value) {
  return value == kTrue16;
}

// A tree level only adds one step per level; a damaged or hostile profile
// must not make the writer build a line of gigabytes.
constexpr int32_t kMaxTreeLevel = 1000;

// Short date, a blank, long time, in the system's regional format.
QString generalDate(const QDateTime &now) {
  const QLocale locale = QLocale::system();
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove(QLatin1Char('t')); // no time-zone name
  return locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(now.time(), timeFormat.trimmed());
}

// Lines are either verbatim (comments, headings, the lists, the free
// commands, the period, lines the writer composes) or a command with one
// argument taken from the profile, which is enclosed as the analyser needs.
class LineBuilder {
public:
  void line(const QString &text) { lines_.append(text); }
  void line(const char *text) { lines_.append(QString::fromLatin1(text)); }
  void command(const char *keyword, const QString &value) {
    lines_.append(QString::fromLatin1(keyword) + AnalogArgument(value));
  }
  void command(const char *keyword, int32_t value) { command(keyword, QString::number(value)); }
  void commandIfSet(const char *keyword, const QString &value) {
    if (!value.isEmpty())
      command(keyword, value);
  }
  QStringList take() { return std::move(lines_); }

private:
  QStringList lines_;
};

struct Letter {
  char letter;
  bool chosen;
};

QString chosenLetters(std::initializer_list<Letter> letters) {
  QString text;
  for (const Letter &l : letters)
    if (l.chosen)
      text += QLatin1Char(l.letter);
  return text;
}

// "E" stands for the error file in both sets.
QString debugLetters(const S &p) {
  return chosenLetters({{'C', isTrue(p.DebugCorrupt)},
                        {'D', isTrue(p.DebugDns)},
                        {'E', !p.ErrFile.isEmpty()},
                        {'F', isTrue(p.DebugFiles)},
                        {'S', isTrue(p.DebugSummary)},
                        {'U', isTrue(p.DebugUnknownDomains)},
                        {'V', isTrue(p.DebugNoDomainHosts)}});
}

QString warningLetters(const S &p) {
  return chosenLetters({{'C', isTrue(p.WarnInvalidConfig)},
                        {'D', isTrue(p.WarnDubiousConfig)},
                        {'E', !p.ErrFile.isEmpty()},
                        {'F', isTrue(p.WarnMissingFiles)},
                        {'L', isTrue(p.WarnLogProblems)},
                        {'M', isTrue(p.WarnPossibleProblems)},
                        {'R', isTrue(p.WarnEmptyReports)}});
}

void writeList(LineBuilder &out, const std::array<ListEntry, kListSize> &list) {
  for (int i = 0, n = usedListLength(list); i < n; ++i)
    out.line(list[i].Text);
}

} // namespace

QString AnalogArgument(const QString &value) {
  const auto enclosedBy = [&](QChar open, QChar close) {
    return value.size() >= 2 && value.front() == open && value.back() == close;
  };
  if (enclosedBy(u'"', u'"') || enclosedBy(u'\'', u'\'') || enclosedBy(u'(', u')'))
    return value; // the user's own enclosure
  const bool needsEnclosing = value.contains(u' ') || value.contains(u'\t') ||
                              value.contains(u'#') || value.endsWith(u'\\');
  if (!needsEnclosing)
    return value;
  if (!value.contains(u'"'))
    return u'"' + value + u'"';
  if (!value.contains(u'\''))
    return u'\'' + value + u'\'';
  if (!value.contains(u')'))
    return u'(' + value + u')';
  return value; // cannot be enclosed: the analyser warns about it
}

QString OO(int16_t isIt) {
  return isIt == kTrue16 ? QStringLiteral("ON") : QStringLiteral("OFF");
}

QStringList ConfigLines(const Profile &profile, const ConfigInputs &inputs) {
  const S &p = profile.Settings;
  LineBuilder out;

  out.line("# Configuration file for analog 4.x");
  out.line("# ");
  out.line("# Produced by Kestrum 2.0 for Win32");
  out.line("# Kestrum is made by Brannock");
  out.line("# Web site: https://www.brannock.example/kestrum/");
  out.line("#");
  out.line("#");
  out.line(QStringLiteral("# Settings from ") + p.ProfileName);
  out.line(QStringLiteral("# Created: ") + generalDate(inputs.Now));
  out.line("#");
  out.line("");

  out.line("# Settings for Debug Level");
  if (p.ProgressFreq != 0)
    out.command("PROGRESSFREQ ", p.ProgressFreq);
  out.line(isTrue(p.DebugOn) ? QStringLiteral("DEBUG ") + debugLetters(p)
                             : QStringLiteral("DEBUG OFF"));
  out.line(isTrue(p.WarningsOn) ? QStringLiteral("WARNINGS ") + warningLetters(p)
                                : QStringLiteral("WARNINGS OFF"));
  if (!p.ErrFile.isEmpty()) {
    out.command("ERRFILE ", p.ErrFile);
    out.command("ERRLINELENGTH ", p.ErrLineLength);
  }
  out.line("");

  out.line("# I/O");
  // The analyser applies a LOGFORMAT only to the LOGFILE commands after it.
  if (isTrue(p.LogTypeOverride)) {
    out.commandIfSet("LOGFORMAT ", p.LogFormat);
    out.commandIfSet("APACHELOGFORMAT ", p.ApacheLogFormat);
  }
  out.command("LOGFILE ", p.LogFile);
  out.command("OUTFILE ", p.OutFile);
  out.command("NOROBOTS ", OO(p.NoRobots));
  if (isTrue(p.LogTypeOverride)) {
    out.line("");
    out.line("# Logfile type overriding");
    out.commandIfSet("DEFAULTLOGFORMAT ", p.DefaultLogFormat);
    out.commandIfSet("APACHEDEFAULTLOGFORMAT ", p.ApacheDefaultLogFormat);
  }
  out.line("");

  out.line("# General settings");
  out.commandIfSet("IMAGEDIR ", p.ImageDir);
  if (p.TimeOffset != 0)
    out.command("TIMEOFFSET ", p.TimeOffset);
  out.command("GOTOS ", p.Gotos);
  out.command("OUTPUT ", p.Output);
  out.command("COMPSEP ", p.CompSep);
  out.command("RAWBYTES ", OO(p.RawBytes));
  out.commandIfSet("CACHEFILE ", p.CacheFile);
  out.commandIfSet("CACHEOUTFILE ", p.CacheOutFile);
  out.line("");

  out.line("# Layout settings");
  out.commandIfSet("HEADERFILE ", p.HeaderFile);
  out.commandIfSet("FOOTERFILE ", p.FooterFile);
  out.commandIfSet("STYLESHEET ", p.StyleSheet);
  out.command("ASCIIPAGEWIDTH ", p.AsciiPageWidth);
  out.command("HTMLPAGEWIDTH ", p.HtmlPageWidth);
  out.command("LASTSEVEN ", OO(p.LastSeven));
  out.command("BARSTYLE ", p.BarStyle);
  out.command("RUNTIME ", OO(p.RunTime));
  out.line("");

  out.line("# Settings related to Site Information");
  out.command("HOSTNAME ", p.HostName);
  out.commandIfSet("HOSTURL ", p.HostUrl);
  out.commandIfSet("LOGO ", p.Logo);
  out.line("");

  out.line("# Country settings");
  out.command("LANGUAGE ", p.Language);
  out.commandIfSet("LANGFILE ", p.LangFile);
  out.command("SEPCHAR ", p.SepChar);
  out.command("REPSEPCHAR ", p.RepSepChar);
  out.command("DECPOINT ", p.DecPoint);
  out.commandIfSet("DOMAINSFILE ", p.DomainsFile);
  out.line("");

  out.line("# DNS settings");
  out.command("DNSFILE ", p.DnsFile);
  if (inputs.OfflineMode || isTrue(p.UseExternalDns))
    out.line("DNS READ");
  else
    out.command("DNS ", p.DnsMode);
  out.command("DNSGOODHOURS ", p.DnsGoodHours);
  out.command("DNSBADHOURS ", p.DnsBadHours);
  out.line("");

  out.line("# Alias settings");
  out.command("CASE ", p.CaseSensitivity);
  out.command("USERCASE ", p.UserCaseSensitivity);
  out.command("DIRSUFFIX ", p.DirSuffix);
  writeList(out, profile.Aliases);
  out.line("");

  out.line("# In/Excludes settings");
  writeList(out, profile.Excludes);
  out.line("");

  out.line("# Report Activation");
  for (const ReportKeyword &report : kReportActivation)
    out.line(QString::fromLatin1(report.keyword) + QLatin1Char(' ') +
             OO(p.ReportOn[report.reportOn]));
  out.line("");

  out.line("#Report settings");
  out.commandIfSet("REPORTORDER ", p.ReportOrder);
  if (!p.TimeCols.isEmpty())
    out.command("TIMECOLS ", p.TimeCols);
  else
    for (const KeywordString &c : kTimeCols)
      out.commandIfSet(c.keyword, p.*c.field);
  if (!p.AllGraph.isEmpty())
    out.command("ALLGRAPH ", p.AllGraph);
  else
    for (const KeywordString &g : kGraphs)
      out.commandIfSet(g.keyword, p.*g.field);
  if (isTrue(p.AllBack))
    out.command("ALLBACK ", OO(p.AllBack));
  else
    for (const auto &b : kBackwards)
      out.command(b.keyword, OO(p.*b.field));
  for (const auto &r : kRows)
    out.command(r.keyword, p.*r.field);
  out.commandIfSet("MARKCHAR ", p.MarkChar);
  if (p.MinGraphWidth != 0)
    out.command("MINGRAPHWIDTH ", p.MinGraphWidth);
  out.commandIfSet("WEEKBEGINSON ", p.WeekBeginsOn);
  for (const KeywordString &c : kReportCols)
    out.commandIfSet(c.keyword, p.*c.field);
  for (const auto &sf : kSortAndFloor)
    out.commandIfSet(sf.sort.keyword, p.*sf.sort.field);
  for (const auto &sf : kSortAndFloor)
    out.commandIfSet(sf.floor.keyword, p.*sf.floor.field);
  out.line("");

  out.line("# Sub commands");
  if (p.DirTreeLevel != 0) {
    QString pattern = QStringLiteral("/");
    for (int level = 1; level <= qMin(p.DirTreeLevel, kMaxTreeLevel); ++level)
      pattern += QStringLiteral("*/");
    out.command("SUBDIR ", pattern);
  }
  if (p.DomainTreeLevel != 0) {
    QString pattern = QStringLiteral("*");
    for (int level = 1; level <= qMin(p.DomainTreeLevel, kMaxTreeLevel); ++level)
      pattern += QStringLiteral(".*");
    out.command("SUBDOMAIN ", pattern);
  }
  if (p.BrowserTreeLevel == 1)
    out.line("SUBBROW */*");
  if (p.BrowserTreeLevel == 2)
    out.line("SUBBROW */*.*");
  out.line("");

  out.line("# Other unsupported Tags");
  if (!p.OtherCommands.isEmpty())
    out.line(p.OtherCommands);
  out.line("");

  out.line("# Time Specs");
  out.line(inputs.TimeSpecs);
  return out.take();
}

Result MakeCFG(const Profile &profile, const ConfigInputs &inputs, Messages &messages) {
  const QString path = inputs.ProgramDir + QStringLiteral("analog.cfg");
  QByteArray bytes;
  for (const QString &line : ConfigLines(profile, inputs))
    bytes += toAnsi(line) + "\r\n";
  const Result written = writeFileAtomically(path, bytes);
  if (!written.ok())
    messages.show(QStringLiteral("Error creating .cfg file"), MessageIcon::Critical,
                  QStringLiteral("Internal Error"));
  return written;
}

} // namespace kestrum
