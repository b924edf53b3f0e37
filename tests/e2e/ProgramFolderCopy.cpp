#include "ProgramFolderCopy.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <sys/resource.h>

namespace {

ProgramFolderCopy::Run runProcess(QProcess &process, const QString &program,
                                  const QStringList &args, int timeoutMs = 120000) {
  ProgramFolderCopy::Run run;
  process.start(program, args);
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    run.crashed = true;
  }
  run.crashed = run.crashed || process.exitStatus() != QProcess::NormalExit;
  run.exitCode = process.exitCode();
  run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
  run.err = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

bool copyFile(const QString &from, const QString &to) {
  QFile::remove(to);
  return QFile::copy(from, to);
}

} // namespace

QString ProgramFolderCopy::builtProgramDir() {
  return QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT);
}

ProgramFolderCopy::ProgramFolderCopy() {
  const QDir built(builtProgramDir());
  ok_ = dir_.isValid() && QDir(dir_.path()).mkdir(QStringLiteral("Template"));
  // The launcher keeps its execute bit through QFile::copy.
  for (const char *name : {"analog", "SampleAccess.log"})
    ok_ = ok_ && copyFile(built.filePath(QLatin1String(name)), file(QLatin1String(name)));
  const QDir templates(built.filePath(QStringLiteral("Template")));
  const QStringList names = templates.entryList({QStringLiteral("*.Kestrum")}, QDir::Files);
  ok_ = ok_ && !names.isEmpty();
  for (const QString &name : names)
    ok_ = ok_ && copyFile(templates.filePath(name), file(QStringLiteral("Template/") + name));
}

ProgramFolderCopy::Run ProgramFolderCopy::cli(const QStringList &args, const Limits &limits) const {
  QProcess process;
  if (limits.memoryBytes > 0) {
    const rlim_t bytes = rlim_t(limits.memoryBytes);
    process.setChildProcessModifier([bytes] {
      const rlimit limit{bytes, bytes};
      ::setrlimit(RLIMIT_AS, &limit);
    });
  }
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("KESTRUM_PROGRAM_DIR"), path());
  // The copy has no registry of its own: the control registered in the built
  // program folder serves it.
  env.insert(QStringLiteral("KESTRUM_REGISTRY"), builtProgramDir() + QStringLiteral("registry"));
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(path());
  return runProcess(process, builtProgramDir() + QStringLiteral("kestrum-cli"), args,
                    limits.timeoutMs);
}

ProgramFolderCopy::Run ProgramFolderCopy::analyser(const QStringList &args,
                                                   const QString &workingDir) const {
  QProcess process;
  process.setWorkingDirectory(workingDir.isEmpty() ? path() : workingDir);
  return runProcess(process, file(QStringLiteral("analog")), args);
}

QString readText(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return QString::fromLatin1(f.readAll());
}

bool writeText(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
