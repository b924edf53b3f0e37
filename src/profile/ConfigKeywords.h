#pragma once

// The analyser commands that carry one profile field each, shared by the
// writer (profile to analog.cfg) and the import (analog.cfg to profile), so
// both directions use one table. Keywords carry their trailing blank, as the
// writer puts them in front of the value.

#include "Profile.h"

namespace kestrum::cfg {

using S = ProfileSettings;

struct StringCommand {
  const char *keyword;
  QString S::*field;
};
struct NumberCommand {
  const char *keyword;
  FieldI32 S::*field;
};
struct SwitchCommand {
  const char *keyword;
  FieldBool16 S::*field;
};

// Report activation: the summaries come before their full reports.
struct ReportKeyword {
  const char *keyword;
  int reportOn;
};
inline constexpr ReportKeyword kReportActivation[] = {
    {"GENERAL", 0},    {"MONTHLY", 1},      {"WEEKLY", 2},       {"DAILY", 4},
    {"FULLDAILY", 3},  {"HOURLY", 6},       {"FULLHOURLY", 5},   {"QUARTER", 7},
    {"FIVE", 8},       {"HOST", 9},         {"DOMAIN", 10},      {"REQUEST", 11},
    {"DIRECTORY", 12}, {"FILETYPE", 13},    {"SIZE", 14},        {"REDIR", 15},
    {"FAILURE", 16},   {"REFERRER", 17},    {"REFSITE", 18},     {"REDIRREF", 19},
    {"FAILREF", 20},   {"BROWSER", 22},     {"FULLBROWSER", 21}, {"VHOST", 23},
    {"USER", 24},      {"FAILUSER", 25},    {"STATUS", 26},      {"ORGANISATION", 27},
    {"PROCTIME", 28},  {"SEARCHQUERY", 29}, {"SEARCHWORD", 30},  {"OSREP", 31},
};

inline constexpr StringCommand kTimeCols[] = {
    {"HOURCOLS ", &S::HourCols},       {"MONTHCOLS ", &S::MonthCols},
    {"WEEKCOLS ", &S::WeekCols},       {"DAYCOLS ", &S::DayCols},
    {"FULLDAYCOLS ", &S::FullDayCols}, {"FULLHOURCOLS ", &S::FullHourCols},
    {"QUARTERCOLS ", &S::QuarterCols}, {"FIVECOLS ", &S::FiveCols},
};

inline constexpr StringCommand kGraphs[] = {
    {"MONTHGRAPH ", &S::MonthGraph},     {"WEEKGRAPH ", &S::WeekGraph},
    {"DAYGRAPH ", &S::DayGraph},         {"FULLDAYGRAPH ", &S::FullDayGraph},
    {"HOURGRAPH ", &S::HourGraph},       {"FULLHOURGRAPH ", &S::FullHourGraph},
    {"QUARTERGRAPH ", &S::QuarterGraph}, {"FIVEGRAPH ", &S::FiveGraph},
};

inline constexpr SwitchCommand kBackwards[] = {
    {"MONTHBACK ", &S::MonthBack},     {"WEEKBACK ", &S::WeekBack},
    {"FULLDAYBACK ", &S::FullDayBack}, {"FULLHOURBACK ", &S::FullHourBack},
    {"QUARTERBACK ", &S::QuarterBack}, {"FIVEBACK ", &S::FiveBack},
};

inline constexpr NumberCommand kRows[] = {
    {"MONTHROWS ", &S::MonthRows},     {"WEEKROWS ", &S::WeekRows},
    {"FULLDAYROWS ", &S::FullDayRows}, {"FULLHOURROWS ", &S::FullHourRows},
    {"QUARTERROWS ", &S::QuarterRows}, {"FIVEROWS ", &S::FiveRows},
};

inline constexpr StringCommand kReportCols[] = {
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
struct SortAndFloor {
  StringCommand sort;
  StringCommand floor;
};
inline constexpr SortAndFloor kSortAndFloor[] = {
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

// The writer's other commands with one profile value, by the section they
// stand in. The writer names each one where it writes it; the import reads
// them through the three lists below.
namespace cmd {
inline constexpr NumberCommand ProgressFreq{"PROGRESSFREQ ", &S::ProgressFreq};
inline constexpr StringCommand ErrFile{"ERRFILE ", &S::ErrFile};
inline constexpr NumberCommand ErrLineLength{"ERRLINELENGTH ", &S::ErrLineLength};
inline constexpr StringCommand LogFormat{"LOGFORMAT ", &S::LogFormat};
inline constexpr StringCommand ApacheLogFormat{"APACHELOGFORMAT ", &S::ApacheLogFormat};
inline constexpr StringCommand LogFile{"LOGFILE ", &S::LogFile};
inline constexpr StringCommand OutFile{"OUTFILE ", &S::OutFile};
inline constexpr SwitchCommand NoRobots{"NOROBOTS ", &S::NoRobots};
inline constexpr StringCommand DefaultLogFormat{"DEFAULTLOGFORMAT ", &S::DefaultLogFormat};
inline constexpr StringCommand ApacheDefaultLogFormat{"APACHEDEFAULTLOGFORMAT ",
                                                      &S::ApacheDefaultLogFormat};
inline constexpr StringCommand ImageDir{"IMAGEDIR ", &S::ImageDir};
inline constexpr NumberCommand TimeOffset{"TIMEOFFSET ", &S::TimeOffset};
inline constexpr StringCommand Gotos{"GOTOS ", &S::Gotos};
inline constexpr StringCommand Output{"OUTPUT ", &S::Output};
inline constexpr StringCommand CompSep{"COMPSEP ", &S::CompSep};
inline constexpr SwitchCommand RawBytes{"RAWBYTES ", &S::RawBytes};
inline constexpr StringCommand CacheFile{"CACHEFILE ", &S::CacheFile};
inline constexpr StringCommand CacheOutFile{"CACHEOUTFILE ", &S::CacheOutFile};
inline constexpr StringCommand HeaderFile{"HEADERFILE ", &S::HeaderFile};
inline constexpr StringCommand FooterFile{"FOOTERFILE ", &S::FooterFile};
inline constexpr StringCommand StyleSheet{"STYLESHEET ", &S::StyleSheet};
inline constexpr NumberCommand AsciiPageWidth{"ASCIIPAGEWIDTH ", &S::AsciiPageWidth};
inline constexpr NumberCommand HtmlPageWidth{"HTMLPAGEWIDTH ", &S::HtmlPageWidth};
inline constexpr SwitchCommand LastSeven{"LASTSEVEN ", &S::LastSeven};
inline constexpr StringCommand BarStyle{"BARSTYLE ", &S::BarStyle};
inline constexpr SwitchCommand RunTime{"RUNTIME ", &S::RunTime};
inline constexpr StringCommand HostName{"HOSTNAME ", &S::HostName};
inline constexpr StringCommand HostUrl{"HOSTURL ", &S::HostUrl};
inline constexpr StringCommand Logo{"LOGO ", &S::Logo};
inline constexpr StringCommand Language{"LANGUAGE ", &S::Language};
inline constexpr StringCommand LangFile{"LANGFILE ", &S::LangFile};
inline constexpr StringCommand SepChar{"SEPCHAR ", &S::SepChar};
inline constexpr StringCommand RepSepChar{"REPSEPCHAR ", &S::RepSepChar};
inline constexpr StringCommand DecPoint{"DECPOINT ", &S::DecPoint};
inline constexpr StringCommand DomainsFile{"DOMAINSFILE ", &S::DomainsFile};
inline constexpr StringCommand DnsFile{"DNSFILE ", &S::DnsFile};
inline constexpr StringCommand Dns{"DNS ", &S::DnsMode};
inline constexpr NumberCommand DnsGoodHours{"DNSGOODHOURS ", &S::DnsGoodHours};
inline constexpr NumberCommand DnsBadHours{"DNSBADHOURS ", &S::DnsBadHours};
inline constexpr StringCommand Case{"CASE ", &S::CaseSensitivity};
inline constexpr StringCommand UserCase{"USERCASE ", &S::UserCaseSensitivity};
inline constexpr StringCommand DirSuffix{"DIRSUFFIX ", &S::DirSuffix};
inline constexpr StringCommand ReportOrder{"REPORTORDER ", &S::ReportOrder};
inline constexpr StringCommand TimeCols{"TIMECOLS ", &S::TimeCols};
inline constexpr StringCommand AllGraph{"ALLGRAPH ", &S::AllGraph};
inline constexpr SwitchCommand AllBack{"ALLBACK ", &S::AllBack};
inline constexpr StringCommand MarkChar{"MARKCHAR ", &S::MarkChar};
inline constexpr NumberCommand MinGraphWidth{"MINGRAPHWIDTH ", &S::MinGraphWidth};
inline constexpr StringCommand WeekBeginsOn{"WEEKBEGINSON ", &S::WeekBeginsOn};
} // namespace cmd

inline constexpr StringCommand kStringCommands[] = {
    cmd::ErrFile,
    cmd::LogFormat,
    cmd::ApacheLogFormat,
    cmd::LogFile,
    cmd::OutFile,
    cmd::DefaultLogFormat,
    cmd::ApacheDefaultLogFormat,
    cmd::ImageDir,
    cmd::Gotos,
    cmd::Output,
    cmd::CompSep,
    cmd::CacheFile,
    cmd::CacheOutFile,
    cmd::HeaderFile,
    cmd::FooterFile,
    cmd::StyleSheet,
    cmd::BarStyle,
    cmd::HostName,
    cmd::HostUrl,
    cmd::Logo,
    cmd::Language,
    cmd::LangFile,
    cmd::SepChar,
    cmd::RepSepChar,
    cmd::DecPoint,
    cmd::DomainsFile,
    cmd::DnsFile,
    cmd::Dns,
    cmd::Case,
    cmd::UserCase,
    cmd::DirSuffix,
    cmd::ReportOrder,
    cmd::TimeCols,
    cmd::AllGraph,
    cmd::MarkChar,
    cmd::WeekBeginsOn,
};
inline constexpr NumberCommand kNumberCommands[] = {
    cmd::ProgressFreq,  cmd::ErrLineLength, cmd::TimeOffset,  cmd::AsciiPageWidth,
    cmd::HtmlPageWidth, cmd::DnsGoodHours,  cmd::DnsBadHours, cmd::MinGraphWidth,
};
inline constexpr SwitchCommand kSwitchCommands[] = {
    cmd::NoRobots, cmd::RawBytes, cmd::LastSeven, cmd::RunTime, cmd::AllBack,
};

// The letters of DEBUG and WARNINGS, in the order written. 'E' (no field)
// stands for the error file and is written when ERRFILE is set.
struct LetterSwitch {
  char letter;
  FieldBool16 S::*field;
};
inline constexpr LetterSwitch kDebugLetters[] = {
    {'C', &S::DebugCorrupt},       {'D', &S::DebugDns},     {'E', nullptr},
    {'F', &S::DebugFiles},         {'S', &S::DebugSummary}, {'U', &S::DebugUnknownDomains},
    {'V', &S::DebugNoDomainHosts},
};
inline constexpr LetterSwitch kWarningLetters[] = {
    {'C', &S::WarnInvalidConfig}, {'D', &S::WarnDubiousConfig}, {'E', nullptr},
    {'F', &S::WarnMissingFiles},  {'L', &S::WarnLogProblems},   {'M', &S::WarnPossibleProblems},
    {'R', &S::WarnEmptyReports},
};

} // namespace kestrum::cfg
