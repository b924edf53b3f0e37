#include "ProgramStart.h"

#include <QFileInfo>
#include <QProcess>

namespace kestrum {

bool DetachedProgramStart::Start(const QString &program, const QStringList &args,
                                 const QString &workingDir, WindowStyle style,
                                 const QString &hiddenErrorLog, QString *error) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(args);
  process.setWorkingDirectory(workingDir);
  process.setStandardInputFile(QProcess::nullDevice());
  if (style == WindowStyle::Hidden) {
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(hiddenErrorLog.isEmpty() ? QProcess::nullDevice() : hiddenErrorLog,
                                 QIODevice::Truncate);
  }
  if (process.startDetached())
    return true;
  if (error) {
    const QFileInfo file(program);
    *error = file.isFile() && !file.isExecutable() ? QStringLiteral("not executable")
                                                   : process.errorString();
  }
  return false;
}

} // namespace kestrum
