#include "ConfigCheck.h"

#include <QFileInfo>
#include <QProcess>

namespace kestrum {

Result CheckAnalogConfig(const QString &programDir, QList<AnalyserMessage> &warnings) {
  const QString analyser = programDir + QStringLiteral("analog");
  if (!QFileInfo(analyser).isExecutable())
    return Result::failure(QStringLiteral("%1 cannot be run.").arg(analyser));
  QProcess process;
  process.setWorkingDirectory(programDir);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(analyser, {QStringLiteral("-settings")});
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
    process.kill();
    return Result::failure(QStringLiteral("%1 -settings did not finish.").arg(analyser));
  }
  warnings.clear();
  for (const AnalyserMessage &m :
       ParseAnalyserMessages(QString::fromLocal8Bit(process.readAllStandardError())))
    if (m.isConfigurationWarning())
      warnings.append(m);
  return Result::success();
}

} // namespace kestrum
