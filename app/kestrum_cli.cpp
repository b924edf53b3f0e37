// kestrum-cli: the program's profile, configuration and run operations
// without windows, for scripts and cron jobs.

#include "platform/FileIO.h"
#include "platform/Messages.h"
#include "platform/ProgramInfo.h"
#include "profile/ConfigImport.h"
#include "profile/ConfigWriter.h"
#include "profile/ProfileFile.h"
#include "profile/ProfileText.h"
#include "runs/ConfigCheck.h"
#include "runs/DnsCleanup.h"
#include "runs/FetchLogs.h"
#include "runs/RunPipeline.h"
#include "runs/TimeSpecs.h"
#include "shell/Globals.h"
#include "shell/TellurixHost.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

#include <cstdio>

using namespace kestrum;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// One row per command: what its usage line, "help COMMAND", the full usage
// (--help) and the manual page (made from --help) all show.
struct Command {
  const char *name;
  const char *arguments;
  const char *description;
  int (*run)(const QStringList &args);
};

// The commands, defined at the end of this file.
extern const std::initializer_list<Command> kCommands;

// The command being run, whose usage a usage error shows.
const Command *currentCommand = nullptr;

const Command *findCommand(const QString &name) {
  for (const Command &command : kCommands)
    if (name == QLatin1String(command.name))
      return &command;
  return nullptr;
}

QString synopsis(const Command &command) {
  return QStringLiteral("kestrum-cli %1 %2")
      .arg(QLatin1String(command.name), QLatin1String(command.arguments));
}

// The description's lines, each after indent.
QString indentedDescription(const Command &command, QLatin1String indent) {
  QString text;
  for (const QString &line : QString::fromUtf8(command.description).split(QLatin1Char('\n')))
    text += indent + line + QLatin1Char('\n');
  return text;
}

// Usage of one command: its synopsis and its description, indented.
QString commandUsage(const Command &command) {
  return QStringLiteral("Usage: %1\n").arg(synopsis(command)) +
         indentedDescription(command, QLatin1String("  "));
}

QString fullUsage() {
  QString text = QStringLiteral("Usage: kestrum-cli COMMAND [ARGUMENT...]\n"
                                "  or:  kestrum-cli help [COMMAND]\n"
                                "Edits Kestrum profiles, writes the analyser's command file "
                                "and runs analyses\nwithout a window, for scripts and cron jobs.\n"
                                "\nCommands:\n");
  for (const Command &command : kCommands) {
    text += QStringLiteral("  %1\n").arg(synopsis(command));
    text += indentedDescription(command, QLatin1String("      "));
  }
  text +=
      QStringLiteral("\nOptions:\n"
                     "  --help       show this help and exit\n"
                     "  --version    show the program's version and exit\n"
                     "\nExit status: 0 done, 1 failed, 2 wrong usage.\n"
                     "The program folder is $KESTRUM_PROGRAM_DIR, else the folder of this program\n"
                     "when it holds Template/, else (installed) $XDG_DATA_HOME/kestrum.\n");
  return text;
}

// A usage error: the reason, then the usage of the command being run (or
// the full usage) on standard error.
int usage(const QString &why = {}) {
  if (!why.isEmpty())
    std::fprintf(stderr, "kestrum-cli: %s\n", qUtf8Printable(why));
  const QString text = currentCommand ? commandUsage(*currentCommand) : fullUsage();
  std::fputs(qUtf8Printable(text), stderr);
  return kExitUsage;
}

// "help [COMMAND]": the full usage or one command's on standard output.
int help(const QStringList &args) {
  if (args.size() > 1)
    return usage();
  if (args.isEmpty()) {
    std::fputs(qUtf8Printable(fullUsage()), stdout);
    return kExitOk;
  }
  const Command *command = findCommand(args[0]);
  if (!command) {
    currentCommand = nullptr;
    return usage(QStringLiteral("unknown command \"%1\"").arg(args[0]));
  }
  std::fputs(qUtf8Printable(commandUsage(*command)), stdout);
  return kExitOk;
}

int fail(const QString &message) {
  std::fprintf(stderr, "kestrum-cli: %s\n", qUtf8Printable(message));
  return kExitFailed;
}

// Loads an existing profile file. Stricter than the window, which reads a
// missing or short file as empty: a script that names the wrong file must
// get an error, and set must never write a profile over it.
bool loadExisting(const QString &path, Profile &profile, QString &error) {
  if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
    error = QStringLiteral("%1: no such profile file").arg(path);
    return false;
  }
  if (Result r = checkRegularFile(path, false); !r.ok()) {
    error = r.error;
    return false;
  }
  bool complete = false;
  const Result r = ReadProfileFile(path, profile, &complete);
  if (!r.ok()) {
    error = r.error;
    return false;
  }
  if (!complete) {
    error = QStringLiteral("%1 is damaged: it ends inside the profile record").arg(path);
    return false;
  }
  return true;
}

int dump(const QStringList &args) {
  if (args.size() != 1)
    return usage();
  Profile profile;
  QString error;
  if (!loadExisting(args[0], profile, error))
    return fail(error);
  for (const QString &line : DumpProfile(profile))
    std::printf("%s\n", qUtf8Printable(line));
  return kExitOk;
}

// Far more than the escaped text of the largest profile a file can hold.
constexpr qint64 kMaxAssignmentFileSize = 64 << 20;

// Name=value arguments; "@FILE" stands for the lines of FILE (empty lines
// and lines starting with '#' are skipped).
bool collectAssignments(const QStringList &args, QStringList &assignments, QString &error) {
  for (const QString &arg : args) {
    if (!arg.startsWith(QLatin1Char('@'))) {
      assignments.append(arg);
      continue;
    }
    QByteArray text;
    if (Result r = readSmallFile(arg.mid(1), kMaxAssignmentFileSize, text); !r.ok()) {
      error = r.error;
      return false;
    }
    for (QString line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
      if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
      if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
        assignments.append(line);
    }
  }
  return true;
}

int set(const QStringList &args) {
  if (args.size() < 2)
    return usage();
  const QString path = args[0];
  QStringList assignments;
  QString error;
  if (!collectAssignments(args.mid(1), assignments, error))
    return fail(error);

  // A missing file is refused: a mistyped name in a script must not leave a
  // stray profile behind ("new" makes profiles).
  Profile profile;
  if (!loadExisting(path, profile, error))
    return fail(error);
  for (const QString &assignment : assignments)
    if (Result r = SetProfileValue(profile, assignment); !r.ok())
      return usage(r.error);
  StampSignatureAndVersion(profile);
  if (Result r = WriteProfileFile(path, profile); !r.ok())
    return fail(r.error);
  return kExitOk;
}

// The template NAME: a file of the program folder's Template folder, with or
// without its ".Kestrum"; a NAME holding a '/' is a path.
QString templatePath(const QString &name) {
  if (name.contains(QLatin1Char('/')))
    return name;
  const QString file =
      name.endsWith(QLatin1String(".Kestrum")) ? name : name + QLatin1String(".Kestrum");
  return globals().ProgramDir + QStringLiteral("Template/") + file;
}

// Writes a new profile from a template, or with every field empty (--empty:
// what the bundled templates are built from). Never replaces a file.
int newProfile(const QStringList &args) {
  QString name = QStringLiteral("Default");
  const bool empty = args.size() == 2 && args[1] == QLatin1String("--empty");
  if (args.size() == 3 && args[1] == QLatin1String("--template"))
    name = args[2];
  else if (args.size() != 1 && !empty)
    return usage();
  if (name.isEmpty())
    return usage(QStringLiteral("--template takes a template name."));
  const QString path = args[0];
  Profile profile;
  QString error;
  if (!empty && !loadExisting(templatePath(name), profile, error))
    return fail(error);
  StampSignatureAndVersion(profile);
  if (Result r = WriteProfileFile(path, profile, ProfileWrite::CreateOnly); !r.ok())
    return fail(r.error);
  return kExitOk;
}

// "--period N [FD FM FY TD TM TY]" (or nothing): sets timeSpecs as the run
// dialog would for option N, from the given boxes or the profile's. Returns
// kExitOk or the usage status.
int applyPeriod(const QStringList &rest, const Profile &profile, QString &timeSpecs) {
  if (rest.isEmpty())
    return kExitOk;
  if (rest[0] != QLatin1String("--period") || (rest.size() != 2 && rest.size() != 8))
    return usage();
  bool ok = false;
  const int option = rest[1].toInt(&ok);
  if (!ok)
    return usage(QStringLiteral("--period takes an option number 0 to 7."));
  PeriodBoxes boxes;
  if (rest.size() == 8)
    boxes = {rest[2], rest[3], rest[4], rest[5], rest[6], rest[7]};
  else
    boxes = {profile.Settings.FromYear, profile.Settings.FromMonth, profile.Settings.FromDay,
             profile.Settings.ToYear,   profile.Settings.ToMonth,   profile.Settings.ToDay};
  if (const QString problem = PeriodBoxesProblem(boxes); !problem.isEmpty())
    return usage(problem);
  if (auto specs = TimeSpecsForOption(option, boxes))
    timeSpecs = *specs;
  return kExitOk;
}

// "PROFILE [FLAG...] [--period ...]" of cfg and run: takes the flags out
// (each set when given), loads PROFILE and sets TimeSpecs from --period.
// Returns kExitOk or the status to exit with.
int loadForAnalysis(const QStringList &args,
                    std::initializer_list<std::pair<const char *, bool *>> flags,
                    Profile &profile) {
  if (args.isEmpty())
    return usage();
  QStringList rest = args.mid(1);
  for (const auto &[flag, given] : flags)
    *given = rest.removeAll(QLatin1String(flag)) > 0;
  QString error;
  if (!loadExisting(args[0], profile, error))
    return fail(error);
  return applyPeriod(rest, profile, globals().TimeSpecs);
}

// Prints what the analyser says about the analog.cfg just written: exit 0
// when it says nothing but harmless notices, 1 otherwise.
int checkConfig(const QString &programDir) {
  QList<AnalyserMessage> warnings;
  if (Result r = CheckAnalogConfig(programDir, warnings); !r.ok())
    return fail(r.error);
  for (const AnalyserMessage &w : warnings) {
    QString text = w.text;
    if (w.harmless)
      text.insert(text.indexOf(QLatin1Char(':')),
                  QStringLiteral(" (harmless, see docs/analyser-compatibility.md)"));
    std::printf("%s\n", qUtf8Printable(text));
  }
  return ConfigurationProblems(warnings).isEmpty() ? kExitOk : kExitFailed;
}

int cfg(const QStringList &args) {
  ProgramGlobals &g = globals();
  bool offline = false, check = false;
  Profile profile;
  if (const int status =
          loadForAnalysis(args, {{"--offline", &offline}, {"--check", &check}}, profile);
      status != kExitOk)
    return status;

  StderrMessages messages;
  if (Result r = MakeCFG(profile, {g.ProgramDir, offline, g.TimeSpecs}, messages); !r.ok())
    return fail(r.error); // the reason below the fixed message
  if (messages.shown() > 0)
    return kExitFailed;
  if (check)
    return checkConfig(g.ProgramDir);
  std::printf("%s\n", qUtf8Printable(g.ProgramDir + QStringLiteral("analog.cfg")));
  return kExitOk;
}

// The console side of a run: status texts on standard output as they
// change; the report opened with the desktop's opener when asked for.
class ConsoleRunFront : public RunFront {
public:
  explicit ConsoleRunFront(RunInputs inputs) : inputs_(std::move(inputs)) {}
  RunInputs Inputs() const override { return inputs_; }
  void SetPanelText(const QString &key, const QString &text) override {
    if (panels_.value(key) == text && panels_.contains(key))
      return;
    panels_.insert(key, text);
    std::printf("%s: %s\n", qUtf8Printable(key), qUtf8Printable(text));
    std::fflush(stdout);
  }
  void OpenWithShell(const QString &file) override {
    QProcess::startDetached(QStringLiteral("xdg-open"), {file});
  }

private:
  RunInputs inputs_;
  QHash<QString, QString> panels_;
};

// Progress texts of the log download on standard output.
void printProgress(const QString &text) {
  std::printf("%s\n", qUtf8Printable(text));
  std::fflush(stdout);
}

// The download step of a headless run: the FTP download without a window.
class ConsoleLogDownload : public LogDownload {
public:
  void Download(Profile &profile) override {
    FetchLogs(profile.Settings, globals().ProgramDir, printProgress);
  }
};

// Messages of a headless run on standard error, counting those that tell
// of a problem (all but the finish notice).
class RunMessages : public StderrMessages {
public:
  MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                     MessageButtons buttons) override {
    if (title != QLatin1String("Analog finished"))
      ++problems;
    return StderrMessages::show(text, icon, title, buttons);
  }
  int problems = 0;
};

// The run pipeline without windows: the control is created through the
// registry as the window creates it, and an event loop runs until the
// control reports the end of the analyser (or nothing is left to wait for).
// Succeeds when the analyser ran and left a report written during this run,
// and nothing went wrong on the way (a configuration file that could not be
// written leaves the analyser reading the old one).
int run(const QStringList &args) {
  ProgramGlobals &g = globals();
  bool forceOffline = false, show = false;
  Profile profile;
  if (const int status =
          loadForAnalysis(args, {{"--offline", &forceOffline}, {"--show", &show}}, profile);
      status != kExitOk)
    return status;
  QString error;
  // The program folder's settings apply as in the window (a damaged file
  // gives the defaults); the file is never written here.
  ReadSettingsFile(g.SettingsFile, g.Settings);
  const ApplicationOptions &options = g.Settings.Options;

  QObject host;
  TellurixHost tellurix(&host);
  PropertyBag bag = TellurixHost::FormPropertyBag();
  if (!tellurix.Create(bag, &error))
    return fail(QStringLiteral("the Tellurix control cannot be created (%1); "
                               "the end of the analyser could not be watched")
                    .arg(error));

  ConsoleRunFront front({g.ProgramDir, forceOffline || options.OfflineMode != 0,
                         options.NoFinishAnnounce != 0, g.TimeSpecs});
  RunMessages messages;
  DetachedProgramStart programs;
  ConsoleLogDownload download;
  RunServices services;
  services.download = &download;
  services.front = &front;
  services.messages = &messages;
  services.programs = &programs;
  services.tellurix = tellurix.control();
  RunPipeline pipeline(profile, services);

  QEventLoop loop;
  QObject::connect(&tellurix, &TellurixHost::CheckedAppEnd, &loop, [&] {
    pipeline.Tellurix_CheckedAppEnd();
    if (pipeline.RunningProgram() == RunPipeline::None)
      loop.quit();
  });
  const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
  pipeline.ShowResultAfterRun = show;
  pipeline.mnuRunAnalog_Click();
  if (pipeline.RunningProgram() != RunPipeline::None)
    loop.exec();

  // What a hidden analyser said about the configuration is not kept quiet.
  for (const AnalyserMessage &problem : pipeline.ConfigurationProblemsOfLastRun())
    std::fprintf(stderr, "analog: %s\n", qUtf8Printable(problem.text));
  const QFileInfo report(QDir::cleanPath(pipeline.ReportPath()));
  if (!pipeline.AnalyserFinished() || messages.problems > 0)
    return kExitFailed;
  if (!report.isFile() || report.lastModified() < started)
    return fail(QStringLiteral("the analyser wrote no report %1").arg(report.filePath()));
  std::printf("%s\n", qUtf8Printable(report.filePath()));
  return kExitOk;
}

// The download of the profile's logs alone (FTP, FTPS or SFTP), printing
// the progress texts. Fails (exit 1) when an error ended it or it could not
// start. --accept-certificate pins the FTPS certificate the server shows,
// --accept-host-key adds the SFTP server's unknown host key to known_hosts;
// either is printed with its fingerprint.
int fetch(const QStringList &args) {
  FetchTrust trust;
  QStringList rest;
  for (const QString &arg : args) {
    if (arg == QLatin1String("--accept-certificate"))
      trust.acceptCertificate = true;
    else if (arg == QLatin1String("--accept-host-key"))
      trust.acceptHostKey = true;
    else if (arg.startsWith(QLatin1String("--")))
      return usage(QStringLiteral("unknown option %1").arg(arg));
    else
      rest << arg;
  }
  if (rest.size() != 1)
    return usage();
  const QString path = rest[0];
  Profile profile;
  QString error;
  if (!loadExisting(path, profile, error))
    return fail(error);
  trust.profileFile =
      path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path;
  const DownloadOutcome outcome =
      FetchLogs(profile.Settings, globals().ProgramDir, printProgress, trust);
  if (outcome == DownloadOutcome::NotStarted)
    return fail(QStringLiteral("the download could not start: no FTP server in the profile"));
  return outcome == DownloadOutcome::Finished ? kExitOk : kExitFailed;
}

// Removes the unresolved entries of a DNS cache file of the program folder,
// named by its name or by a path into the program folder.
int dnsClean(const QStringList &args) {
  if (args.size() != 1)
    return usage();
  const QString programDir = globals().ProgramDir;
  QString name = args[0];
  if (name.contains(QLatin1Char('/'))) {
    const QFileInfo file(name);
    if (QDir(file.absolutePath()).canonicalPath() != QDir(programDir).canonicalPath())
      return fail(
          QStringLiteral("%1 is not a file of the program folder %2.").arg(name, programDir));
    name = file.fileName();
  }
  if (Result r = DeleteUnresolvedDns(programDir, name); !r.ok())
    return fail(r.error);
  std::printf("Unresolved DNS Data deleted\n");
  return kExitOk;
}

// Turns an analyser command file into a new profile made from the default
// template, printing what became of its lines. An existing profile is only
// replaced with --force; nothing is written when the file cannot be read.
int importConfig(const QStringList &args) {
  QStringList rest = args;
  const bool force = rest.removeAll(QLatin1String("--force")) > 0;
  if (rest.size() != 2)
    return usage();
  const QString &configPath = rest[0];
  const QString &profilePath = rest[1];
  Profile templateProfile;
  QString error;
  if (!loadExisting(templatePath(QStringLiteral("Default")), templateProfile, error))
    return fail(error);
  Profile profile;
  ImportSummary summary;
  if (Result r = ImportAnalogConfig(configPath, templateProfile, profile, summary); !r.ok())
    return fail(r.error);
  StampSignatureAndVersion(profile);
  if (!force && QFileInfo::exists(profilePath))
    return fail(QStringLiteral("%1 exists already (--force replaces it)").arg(profilePath));
  const ProfileWrite mode = force ? ProfileWrite::Replace : ProfileWrite::CreateOnly;
  if (Result r = WriteProfileFile(profilePath, profile, mode); !r.ok())
    return fail(r.error);
  for (const QString &line : ImportSummaryLines(summary))
    std::printf("%s\n", qUtf8Printable(line));
  return kExitOk;
}

// clang-format off
const std::initializer_list<Command> kCommands = {
    {"dump", "PROFILE",
     "Prints every field of PROFILE as Name=value lines.", dump},
    {"set", "PROFILE Name=value... | @FILE...",
     "Sets fields of PROFILE and saves it; @FILE stands for the Name=value\n"
     "lines of FILE (empty lines and lines starting with # are skipped).", set},
    {"new", "PROFILE [--template NAME | --empty]",
     "Writes a new PROFILE from the program folder's template NAME (default\n"
     "Default), or with every field empty. Never replaces a file.", newProfile},
    {"cfg", "PROFILE [--offline] [--check] [--period N [FD FM FY TD TM TY]]",
     "Writes the analyser's command file analog.cfg into the program folder and\n"
     "prints its path; --check prints what the analyser says about it instead.\n"
     "--period sets the reporting period as the run dialog's option N (0 to 7),\n"
     "with the profile's dates or the ones given.", cfg},
    {"run", "PROFILE [--offline] [--period N [FD FM FY TD TM TY]] [--show]",
     "Runs the analysis of PROFILE as the window does (download, resolver,\n"
     "analyser) and prints the report's path; --show opens the report.", run},
    {"fetch", "PROFILE [--accept-certificate] [--accept-host-key]",
     "Downloads the log files of PROFILE from its FTP, FTPS or SFTP server.\n"
     "--accept-certificate pins the certificate an FTPS server shows;\n"
     "--accept-host-key adds an SFTP server's unknown host key to known_hosts.", fetch},
    {"dns-clean", "FILE",
     "Removes the unresolved entries of the DNS cache FILE of the program folder.",
     dnsClean},
    {"import", "ANALOG.CFG PROFILE [--force]",
     "Makes PROFILE from the default template and the analyser command file\n"
     "ANALOG.CFG and prints what became of its lines; --force replaces PROFILE.",
     importConfig},
    {"help", "[COMMAND]",
     "Shows the usage of COMMAND, or of all commands.", help},
};
// clang-format on

} // namespace

int main(int argc, char **argv) {
  if (const auto status =
          AnswerHelpOrVersion(argc, argv, "kestrum-cli", qUtf8Printable(fullUsage())))
    return *status;
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty())
    return usage();
  const QString name = args.takeFirst();
  currentCommand = findCommand(name);
  if (!currentCommand)
    return usage(QStringLiteral("unknown command \"%1\"").arg(name));
  // "kestrum-cli COMMAND --help" is "kestrum-cli help COMMAND".
  if (args == QStringList{QStringLiteral("--help")})
    return help({name});
  // Only a command that runs fills a fresh per-user program folder.
  initProgramPaths(globals());
  return currentCommand->run(args);
}
