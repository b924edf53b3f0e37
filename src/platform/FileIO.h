#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

namespace kestrum {

// Writes bytes to a temporary file beside path and renames it over path, so
// a crash or a full disk never leaves a torn file.
Result writeFileAtomically(const QString &path, const QByteArray &bytes);

// True when path exists and its owner write bit is clear: such a file is
// treated as one that cannot be replaced or deleted (also when running as root).
bool isReadOnlyFile(const QString &path);

} // namespace kestrum
