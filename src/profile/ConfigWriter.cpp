#include "ConfigWriter.h"
#include "ConfigKeywords.h"

#include "platform/Ansi.h"
#include "platform/FileIO.h"

#include <QFile>
#include <QLocale>

namespace kestrum {
namespace {

using S = ProfileSettings;
using namespace cfg;

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
  void command(const StringCommand &c, const S &p) { command(c.keyword, p.*c.field); }
  void commandIfSet(const StringCommand &c, const S &p) { commandIfSet(c.keyword, p.*c.field); }
  void command(const NumberCommand &c, const S &p) { command(c.keyword, p.*c.field); }
  void command(const SwitchCommand &c, const S &p) { command(c.keyword, OO(p.*c.field)); }
  QStringList take() { return std::move(lines_); }

private:
  QStringList lines_;
};

// The chosen letters of one set; "E" stands for the error file in both.
QString chosenLetters(std::span<const LetterSwitch> letters, const S &p) {
  QString text;
  for (const LetterSwitch &l : letters)
    if (l.field ? isTrue(p.*l.field) : !p.ErrFile.isEmpty())
      text += QLatin1Char(l.letter);
  return text;
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
    out.command(cmd::ProgressFreq, p);
  out.line(isTrue(p.DebugOn) ? QStringLiteral("DEBUG ") + chosenLetters(kDebugLetters, p)
                             : QStringLiteral("DEBUG OFF"));
  out.line(isTrue(p.WarningsOn) ? QStringLiteral("WARNINGS ") + chosenLetters(kWarningLetters, p)
                                : QStringLiteral("WARNINGS OFF"));
  if (!p.ErrFile.isEmpty()) {
    out.command(cmd::ErrFile, p);
    out.command(cmd::ErrLineLength, p);
  }
  out.line("");

  out.line("# I/O");
  // The analyser applies a LOGFORMAT only to the LOGFILE commands after it.
  if (isTrue(p.LogTypeOverride)) {
    out.commandIfSet(cmd::LogFormat, p);
    out.commandIfSet(cmd::ApacheLogFormat, p);
  }
  out.command(cmd::LogFile, p);
  out.command(cmd::OutFile, p);
  out.command(cmd::NoRobots, p);
  if (isTrue(p.LogTypeOverride)) {
    out.line("");
    out.line("# Logfile type overriding");
    out.commandIfSet(cmd::DefaultLogFormat, p);
    out.commandIfSet(cmd::ApacheDefaultLogFormat, p);
  }
  out.line("");

  out.line("# General settings");
  out.commandIfSet(cmd::ImageDir, p);
  if (p.TimeOffset != 0)
    out.command(cmd::TimeOffset, p);
  out.command(cmd::Gotos, p);
  out.command(cmd::Output, p);
  out.command(cmd::CompSep, p);
  out.command(cmd::RawBytes, p);
  out.commandIfSet(cmd::CacheFile, p);
  out.commandIfSet(cmd::CacheOutFile, p);
  out.line("");

  out.line("# Layout settings");
  out.commandIfSet(cmd::HeaderFile, p);
  out.commandIfSet(cmd::FooterFile, p);
  out.commandIfSet(cmd::StyleSheet, p);
  out.command(cmd::AsciiPageWidth, p);
  out.command(cmd::HtmlPageWidth, p);
  out.command(cmd::LastSeven, p);
  out.command(cmd::BarStyle, p);
  out.command(cmd::RunTime, p);
  out.line("");

  out.line("# Settings related to Site Information");
  out.command(cmd::HostName, p);
  out.commandIfSet(cmd::HostUrl, p);
  out.commandIfSet(cmd::Logo, p);
  out.line("");

  out.line("# Country settings");
  out.command(cmd::Language, p);
  out.commandIfSet(cmd::LangFile, p);
  out.command(cmd::SepChar, p);
  out.command(cmd::RepSepChar, p);
  out.command(cmd::DecPoint, p);
  out.commandIfSet(cmd::DomainsFile, p);
  out.line("");

  out.line("# DNS settings");
  out.command(cmd::DnsFile, p);
  if (inputs.OfflineMode || isTrue(p.UseExternalDns))
    out.line("DNS READ");
  else
    out.command(cmd::Dns, p);
  out.command(cmd::DnsGoodHours, p);
  out.command(cmd::DnsBadHours, p);
  out.line("");

  out.line("# Alias settings");
  out.command(cmd::Case, p);
  out.command(cmd::UserCase, p);
  out.command(cmd::DirSuffix, p);
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
  out.commandIfSet(cmd::ReportOrder, p);
  if (!p.TimeCols.isEmpty())
    out.command(cmd::TimeCols, p);
  else
    for (const StringCommand &c : kTimeCols)
      out.commandIfSet(c, p);
  if (!p.AllGraph.isEmpty())
    out.command(cmd::AllGraph, p);
  else
    for (const StringCommand &g : kGraphs)
      out.commandIfSet(g, p);
  if (isTrue(p.AllBack))
    out.command(cmd::AllBack, p);
  else
    for (const auto &b : kBackwards)
      out.command(b, p);
  for (const auto &r : kRows)
    out.command(r, p);
  out.commandIfSet(cmd::MarkChar, p);
  if (p.MinGraphWidth != 0)
    out.command(cmd::MinGraphWidth, p);
  out.commandIfSet(cmd::WeekBeginsOn, p);
  for (const StringCommand &c : kReportCols)
    out.commandIfSet(c, p);
  for (const auto &sf : kSortAndFloor)
    out.commandIfSet(sf.sort, p);
  for (const auto &sf : kSortAndFloor)
    out.commandIfSet(sf.floor, p);
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
