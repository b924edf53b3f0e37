#include "FileIO.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kestrum {

Result writeFileAtomically(const QString &path, const QByteArray &bytes) {
  if (isReadOnlyFile(path))
    return Result::failure(QStringLiteral("%1 is read-only.").arg(path));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return Result::failure(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
  if (file.write(bytes) != bytes.size()) {
    const QString why = file.errorString();
    file.cancelWriting();
    return Result::failure(QStringLiteral("Cannot write %1: %2").arg(path, why));
  }
  if (!file.commit())
    return Result::failure(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
  return Result::success();
}

bool isReadOnlyFile(const QString &path) {
  const QFileInfo info(path);
  return info.exists() && info.isFile() && !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace kestrum
