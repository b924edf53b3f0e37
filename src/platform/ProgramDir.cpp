#include "ProgramDir.h"

#include <QDir>
#include <QFileInfo>

namespace kestrum {

QString withTrailingSlash(QString dir) {
  if (!dir.endsWith(QLatin1Char('/')))
    dir.append(QLatin1Char('/'));
  return dir;
}

QString resolveProgramDir() {
  const QString fromEnv = qEnvironmentVariable("KESTRUM_PROGRAM_DIR");
  if (!fromEnv.isEmpty())
    return withTrailingSlash(QDir(fromEnv).absolutePath());
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  return withTrailingSlash(QFileInfo(exe.canonicalFilePath()).absolutePath());
}

} // namespace kestrum
