#include "ConfigImport.h"

#include "ConfigKeywords.h"
#include "ConfigWriter.h"
#include "ListKeywords.h"
#include "ProfileFile.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <functional>

namespace kestrum {
namespace {

using namespace cfg;

// analog 6 names of the commands the writer spells the analog 4 way.
struct Rename {
  const char *analog6;
  const char *analog4;
};
constexpr Rename kAnalog6Names[] = {
    {"DAILYSUM", "DAILY"},
    {"DAILYREP", "FULLDAILY"},
    {"HOURLYSUM", "HOURLY"},
    {"HOURLYREP", "FULLHOURLY"},
    {"QUARTERREP", "QUARTER"},
    {"FIVEREP", "FIVE"},
    {"BROWSERSUM", "BROWSER"},
    {"BROWSERREP", "FULLBROWSER"},
    {"PLAINPAGEWIDTH", "ASCIIPAGEWIDTH"},
};
// The same renaming in the report settings: DAYREPCOLS is FULLDAYCOLS, ...
constexpr Rename kAnalog6Prefixes[] = {
    {"DAYSUM", "DAY"},         {"DAYREP", "FULLDAY"}, {"HOURSUM", "HOUR"}, {"HOURREP", "FULLHOUR"},
    {"QUARTERREP", "QUARTER"}, {"FIVEREP", "FIVE"},   {"BROWSUM", "BROW"}, {"BROWREP", "FULLBROW"},
};
constexpr const char *kReportSettingSuffixes[] = {"COLS", "GRAPH",  "ROWS",
                                                  "BACK", "SORTBY", "FLOOR"};

const QString kSettingsFrom = QStringLiteral("# Settings from ");
const QString kLogTypeOverriding = QStringLiteral("# Logfile type overriding");

class Importer;
// Applies one command; false when the profile cannot hold it as written.
using Apply = std::function<bool(const CommandLine &, Importer &)>;

class Importer {
public:
  Importer(Profile &profile, ImportSummary &summary) : p_(profile), summary_(summary) {}

  void apply(const CommandLine &line) {
    if (line.kind == CommandLine::Comment) {
      ++summary_.ignored;
      comment(line.text);
      return;
    }
    if (line.kind == CommandLine::Command) {
      const QString name = analog4Name(line.name);
      // LOGFILE adds files; the template's must not be read besides the file's.
      if (name == QLatin1String("LOGFILE") && !logFileSeen_) {
        logFileSeen_ = true;
        p_.Settings.LogFile.clear();
      }
      const auto found = commands().constFind(name);
      if (found != commands().constEnd() && (*found)(line, *this)) {
        ++summary_.mapped;
        return;
      }
    }
    keep(line.text);
  }

  void finish() { p_.Settings.OtherCommands = other_.join(QStringLiteral("\r\n")); }

  ProfileSettings &settings() { return p_.Settings; }

  bool append(std::array<ListEntry, kListSize> &list, const CommandLine &line, const char *what) {
    const int used = usedListLength(list);
    if (used >= kListSize) {
      summary_.problems.append(QStringLiteral("%1:%2: the %3 list is full; kept in OtherCommands")
                                   .arg(line.file)
                                   .arg(line.line)
                                   .arg(QLatin1String(what)));
      return false;
    }
    list[used].Text = line.text;
    return true;
  }
  Profile &profile() { return p_; }

private:
  static QString analog4Name(const QString &name) {
    static const QHash<QString, QString> renames = [] {
      QHash<QString, QString> t;
      for (const Rename &r : kAnalog6Names)
        t.insert(QLatin1String(r.analog6), QLatin1String(r.analog4));
      for (const Rename &r : kAnalog6Prefixes)
        for (const char *suffix : kReportSettingSuffixes)
          t.insert(QLatin1String(r.analog6) + QLatin1String(suffix),
                   QLatin1String(r.analog4) + QLatin1String(suffix));
      return t;
    }();
    return renames.value(name, name);
  }

  void comment(const QString &text) {
    if (text.startsWith(kSettingsFrom))
      p_.Settings.ProfileName = text.mid(kSettingsFrom.size());
    else if (text == kLogTypeOverriding)
      p_.Settings.LogTypeOverride = kTrue16; // the writer's heading of the override block
  }

  void keep(const QString &text) {
    other_.append(text);
    ++summary_.kept;
  }

  static const QHash<QString, Apply> &commands();

  Profile &p_;
  ImportSummary &summary_;
  QStringList other_;
  bool logFileSeen_ = false;
};

QString keywordOf(const char *keyword) {
  return QString::fromLatin1(keyword).trimmed();
}

bool isOneOf(const QString &word, const char *a, const char *b) {
  return word.compare(QLatin1String(a), Qt::CaseInsensitive) == 0 ||
         word.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// ON or OFF (any case) into a switch.
bool applySwitch(const CommandLine &line, FieldBool16 &field) {
  if (line.arguments.size() != 1)
    return false;
  const QString &value = line.arguments[0];
  if (value.compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0)
    field = kTrue16;
  else if (value.compare(QLatin1String("OFF"), Qt::CaseInsensitive) == 0)
    field = kFalse16;
  else
    return false;
  return true;
}

// DEBUG and WARNINGS: OFF or NONE, ON or ALL, or a set of letters (none
// given: on, no letter chosen). 'E' follows from ERRFILE and is skipped.
bool applyLetters(const CommandLine &line, FieldBool16 S::*on,
                  std::span<const LetterSwitch> letters, S &s) {
  if (line.arguments.size() > 1)
    return false;
  const QString value = line.arguments.value(0);
  if (isOneOf(value, "OFF", "NONE")) {
    s.*on = kFalse16;
    return true;
  }
  const bool all = isOneOf(value, "ON", "ALL");
  if (!all)
    for (QChar c : value)
      if (std::none_of(letters.begin(), letters.end(),
                       [&](const LetterSwitch &l) { return c == QLatin1Char(l.letter); }))
        return false; // "+C", "-D", lower case, unknown letters: kept as written
  s.*on = kTrue16;
  for (const LetterSwitch &l : letters)
    if (l.field)
      s.*l.field = all || value.contains(QLatin1Char(l.letter)) ? kTrue16 : kFalse16;
  return true;
}

// The writer's tree patterns: SUBDIR /*/*/, SUBDOMAIN *.*.*, one step per level.
bool applyTreeLevel(const CommandLine &line, const QString &start, const QString &step,
                    FieldI32 &level) {
  if (line.arguments.size() != 1)
    return false;
  const QString &pattern = line.arguments[0];
  const qsizetype steps = (pattern.size() - start.size()) / step.size();
  if (steps < 1 || pattern != start + step.repeated(steps))
    return false;
  level = int32_t(steps);
  return true;
}

// FROM/TO yyMMdd, each part optionally signed (relative): the boxes of the
// run dialog, as the run dialog writes them back.
bool applyPeriod(const CommandLine &line, QString S::*year, QString S::*month, QString S::*day,
                 S &s) {
  static const QRegularExpression date(
      QStringLiteral("^([+-]?[0-9]{2})([+-]?[0-9]{2})([+-]?[0-9]{2})$"));
  const auto match = date.match(line.arguments.value(0));
  if (line.arguments.size() != 1 || !match.hasMatch())
    return false;
  s.*year = match.captured(1);
  s.*month = match.captured(2);
  s.*day = match.captured(3);
  const bool relative =
      QString(s.FromYear + s.FromMonth + s.FromDay + s.ToYear + s.ToMonth + s.ToDay)
          .contains(QRegularExpression(QStringLiteral("[+-]")));
  s.PeriodOption = relative ? 1 : 0;
  return true;
}

const QHash<QString, Apply> &Importer::commands() {
  static const QHash<QString, Apply> table = [] {
    QHash<QString, Apply> t;
    const auto addString = [&](const StringCommand &c) {
      t.insert(keywordOf(c.keyword), [field = c.field](const CommandLine &line, Importer &in) {
        if (line.arguments.size() > 1)
          return false; // "Too many arguments" to the analyser
        in.settings().*field = line.arguments.value(0);
        return true;
      });
    };
    const auto addNumber = [&](const NumberCommand &c) {
      t.insert(keywordOf(c.keyword), [field = c.field](const CommandLine &line, Importer &in) {
        bool ok = false;
        const int32_t value = line.arguments.value(0).toInt(&ok);
        if (line.arguments.size() != 1 || !ok)
          return false;
        in.settings().*field = value;
        return true;
      });
    };
    const auto addSwitch = [&](const char *keyword, auto select) {
      t.insert(keywordOf(keyword), [select](const CommandLine &line, Importer &in) {
        return applySwitch(line, select(in.settings()));
      });
    };

    for (const StringCommand &c : kStringCommands)
      addString(c);
    for (const StringCommand &c : kTimeCols)
      addString(c);
    for (const StringCommand &c : kGraphs)
      addString(c);
    for (const StringCommand &c : kReportCols)
      addString(c);
    for (const SortAndFloor &sf : kSortAndFloor) {
      addString(sf.sort);
      addString(sf.floor);
    }
    for (const NumberCommand &c : kNumberCommands)
      addNumber(c);
    for (const NumberCommand &c : kRows)
      addNumber(c);
    const auto addFieldSwitch = [&](const SwitchCommand &c) {
      addSwitch(c.keyword, [field = c.field](S &s) -> FieldBool16 & { return s.*field; });
    };
    for (const SwitchCommand &c : kSwitchCommands)
      addFieldSwitch(c);
    for (const SwitchCommand &c : kBackwards)
      addFieldSwitch(c);
    for (const ReportKeyword &r : kReportActivation)
      addSwitch(r.keyword, [i = r.reportOn](S &s) -> FieldBool16 & { return s.ReportOn[i]; });

    // The log formats apply through the override switch.
    for (const StringCommand &c : {cmd::LogFormat, cmd::ApacheLogFormat, cmd::DefaultLogFormat,
                                   cmd::ApacheDefaultLogFormat}) {
      Apply plain = t.value(keywordOf(c.keyword));
      t.insert(keywordOf(c.keyword), [plain](const CommandLine &line, Importer &in) {
        if (!plain(line, in))
          return false;
        in.settings().LogTypeOverride = kTrue16;
        return true;
      });
    }
    // LOGFILE adds files: several commands become one comma list.
    t.insert(keywordOf(cmd::LogFile.keyword), [](const CommandLine &line, Importer &in) {
      if (line.arguments.size() > 1)
        return false; // a log prefix: the profile has no place for it
      QString &files = in.settings().LogFile;
      const QString file = line.arguments.value(0); // none: what an empty field writes
      files += (files.isEmpty() || file.isEmpty() ? QString() : QStringLiteral(",")) + file;
      return true;
    });

    // ALL switches every report; analog 6's own further reports, which no
    // profile switches, are left as they are.
    t.insert(QStringLiteral("ALL"), [](const CommandLine &line, Importer &in) {
      FieldBool16 value = 0;
      if (!applySwitch(line, value))
        return false;
      in.settings().ReportOn.fill(value);
      return true;
    });
    t.insert(QStringLiteral("DEBUG"), [](const CommandLine &line, Importer &in) {
      return applyLetters(line, &S::DebugOn, kDebugLetters, in.settings());
    });
    t.insert(QStringLiteral("WARNINGS"), [](const CommandLine &line, Importer &in) {
      return applyLetters(line, &S::WarningsOn, kWarningLetters, in.settings());
    });
    t.insert(QStringLiteral("SUBDIR"), [](const CommandLine &line, Importer &in) {
      return applyTreeLevel(line, QStringLiteral("/"), QStringLiteral("*/"),
                            in.settings().DirTreeLevel);
    });
    t.insert(QStringLiteral("SUBDOMAIN"), [](const CommandLine &line, Importer &in) {
      return applyTreeLevel(line, QStringLiteral("*"), QStringLiteral(".*"),
                            in.settings().DomainTreeLevel);
    });
    t.insert(QStringLiteral("SUBBROW"), [](const CommandLine &line, Importer &in) {
      const QString pattern = line.arguments.value(0);
      const int level = pattern == QLatin1String("*/*")     ? 1
                        : pattern == QLatin1String("*/*.*") ? 2
                                                            : 0;
      if (line.arguments.size() != 1 || level == 0)
        return false;
      in.settings().BrowserTreeLevel = level;
      return true;
    });
    t.insert(QStringLiteral("FROM"), [](const CommandLine &line, Importer &in) {
      return applyPeriod(line, &S::FromYear, &S::FromMonth, &S::FromDay, in.settings());
    });
    t.insert(QStringLiteral("TO"), [](const CommandLine &line, Importer &in) {
      return applyPeriod(line, &S::ToYear, &S::ToMonth, &S::ToDay, in.settings());
    });

    // Whole command lines of the two lists, as the list editors make them.
    const auto addListCommand = [&](const char *keyword, bool alias) {
      t.insert(QLatin1String(keyword), [alias](const CommandLine &line, Importer &in) {
        return alias ? in.append(in.profile().Aliases, line, "alias")
                     : in.append(in.profile().Excludes, line, "in/exclusion");
      });
    };
    for (const char *keyword : aliasKeywords())
      addListCommand(keyword, true);
    for (const char *keyword : inclusionKeywords())
      addListCommand(keyword, false);
    return t;
  }();
  return table;
}

} // namespace

Profile ImportStart(const Profile &templateProfile) {
  Profile start = templateProfile;
  start.Aliases.fill({});
  start.Excludes.fill({});
  S &s = start.Settings;
  s.OtherCommands.clear();
  // A command the writer leaves out when its field is empty or 0 means "the
  // analyser's default", and so does a command missing from the file: such
  // fields start empty. The writer's output for an all-empty profile tells
  // which commands it writes whatever their fields hold.
  static const QStringList alwaysWritten = ConfigLines(Profile{}, {});
  const auto writtenAlways = [](const char *keyword) {
    return std::any_of(alwaysWritten.begin(), alwaysWritten.end(), [&](const QString &line) {
      return line.startsWith(QLatin1String(keyword));
    });
  };
  const auto clearUnlessAlways = [&](const auto &command) {
    if (!writtenAlways(command.keyword))
      s.*command.field = {};
  };
  for (const auto &c : kStringCommands)
    clearUnlessAlways(c);
  for (const auto &c : kNumberCommands)
    clearUnlessAlways(c);
  for (const auto &c : kSwitchCommands)
    clearUnlessAlways(c);
  for (const auto *table : {&kTimeCols, &kGraphs})
    for (const auto &c : *table)
      clearUnlessAlways(c);
  for (const auto &c : kReportCols)
    clearUnlessAlways(c);
  for (const auto &sf : kSortAndFloor) {
    clearUnlessAlways(sf.sort);
    clearUnlessAlways(sf.floor);
  }
  // No SUBDIR, SUBDOMAIN or SUBBROW line is level 0; no log format command
  // is no override.
  s.DirTreeLevel = s.DomainTreeLevel = s.BrowserTreeLevel = 0;
  s.LogTypeOverride = kFalse16;
  return start;
}

void ApplyCommandFile(const CommandFile &file, Profile &profile, ImportSummary &summary) {
  Importer importer(profile, summary);
  for (const CommandLine &line : file.lines)
    importer.apply(line);
  importer.finish();
  summary.ignored += file.blankLines;
  summary.includedFiles += file.includedFiles;
  for (const CommandProblem &problem : file.problems)
    summary.problems.append(
        QStringLiteral("%1:%2: %3").arg(problem.file).arg(problem.line).arg(problem.why));
}

Result ImportAnalogConfig(const QString &path, const Profile &templateProfile, Profile &profile,
                          ImportSummary &summary) {
  CommandFile file;
  if (Result r = ReadCommandFile(path, file); !r.ok())
    return r;
  Profile imported = ImportStart(templateProfile);
  imported.Settings.ProfileName = QFileInfo(path).completeBaseName();
  ImportSummary counted;
  ApplyCommandFile(file, imported, counted);
  if (QString overflow; encodeProfile(imported, &overflow), !overflow.isEmpty())
    counted.problems.append(overflow + QStringLiteral(" The profile cannot be saved until "
                                                      "OtherCommands is shortened."));
  profile = std::move(imported);
  summary = std::move(counted);
  return Result::success();
}

QStringList ImportSummaryLines(const ImportSummary &summary) {
  QStringList lines{
      QStringLiteral("Commands mapped to profile fields: %1").arg(summary.mapped),
      QStringLiteral("Commands kept in OtherCommands: %1").arg(summary.kept),
      QStringLiteral("Lines ignored (comments, blank lines): %1").arg(summary.ignored),
  };
  if (summary.includedFiles > 0)
    lines.append(QStringLiteral("Included files read: %1").arg(summary.includedFiles));
  for (const QString &problem : summary.problems)
    lines.append(QStringLiteral("Problem: ") + problem);
  return lines;
}

} // namespace kestrum
