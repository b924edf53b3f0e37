#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kestrum::test {

inline QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(bytes);
}

} // namespace kestrum::test
