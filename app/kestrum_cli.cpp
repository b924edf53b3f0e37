// kestrum-cli: the program's profile, configuration and run operations
// without windows, for scripts and cron jobs.

#include "platform/FileIO.h"
#include "platform/Messages.h"
#include "profile/ConfigWriter.h"
#include "profile/ProfileFile.h"
#include "profile/ProfileText.h"
#include "runs/FetchLogs.h"
#include "runs/TimeSpecs.h"
#include "shell/Globals.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

using namespace kestrum;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char *kUsage =
    "usage: kestrum-cli dump PROFILE\n"
    "       kestrum-cli set PROFILE Name=value... (or @FILE of Name=value lines)\n"
    "       kestrum-cli new PROFILE [--template NAME | --empty]\n"
    "       kestrum-cli cfg PROFILE [--offline] [--period N [FD FM FY TD TM TY]]\n"
    "       kestrum-cli fetch PROFILE\n";

int usage(const QString &why = {}) {
  if (!why.isEmpty())
    std::fprintf(stderr, "kestrum-cli: %s\n", qUtf8Printable(why));
  std::fputs(kUsage, stderr);
  return kExitUsage;
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

int cfg(const QStringList &args) {
  if (args.isEmpty())
    return usage();
  ProgramGlobals &g = globals();
  bool offline = false;
  QStringList rest = args.mid(1);
  if (rest.contains(QLatin1String("--offline"))) {
    offline = true;
    rest.removeAll(QLatin1String("--offline"));
  }
  Profile profile;
  QString error;
  if (!loadExisting(args[0], profile, error))
    return fail(error);

  if (!rest.isEmpty()) {
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
    if (auto specs = TimeSpecsForOption(option, boxes))
      g.TimeSpecs = *specs;
  }

  StderrMessages messages;
  if (Result r = MakeCFG(profile, {g.ProgramDir, offline, g.TimeSpecs}, messages); !r.ok())
    return fail(r.error); // the reason below the fixed message
  if (messages.shown() > 0)
    return kExitFailed;
  std::printf("%s\n", qUtf8Printable(g.ProgramDir + QStringLiteral("analog.cfg")));
  return kExitOk;
}

// The FTP download of the profile's logs alone, printing the progress
// texts. Fails (exit 1) when an error ended it or it could not start.
int fetch(const QStringList &args) {
  if (args.size() != 1)
    return usage();
  Profile profile;
  QString error;
  if (!loadExisting(args[0], profile, error))
    return fail(error);
  const DownloadOutcome outcome =
      FetchLogs(profile.Settings, globals().ProgramDir, [](const QString &text) {
        std::printf("%s\n", qUtf8Printable(text));
        std::fflush(stdout);
      });
  if (outcome == DownloadOutcome::NotStarted)
    return fail(QStringLiteral("the download could not start: no FTP server in the profile"));
  return outcome == DownloadOutcome::Finished ? kExitOk : kExitFailed;
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  initProgramPaths(globals());
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty())
    return usage();
  const QString command = args.takeFirst();
  if (command == QLatin1String("dump"))
    return dump(args);
  if (command == QLatin1String("set"))
    return set(args);
  if (command == QLatin1String("new"))
    return newProfile(args);
  if (command == QLatin1String("cfg"))
    return cfg(args);
  if (command == QLatin1String("fetch"))
    return fetch(args);
  return usage(QStringLiteral("unknown command \"%1\"").arg(command));
}
