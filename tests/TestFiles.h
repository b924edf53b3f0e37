#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrum::test {

// Bytes that differ from file to file, so a mix-up shows.
inline QByteArray sampleBytes(qsizetype size, char seed) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (qsizetype i = 0; i < size; ++i)
    bytes[i] = char((i * 31 + seed * 7 + i / 251) & 0xff);
  return bytes;
}

inline QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(bytes);
}

// Runs fn as the user "nobody" (uid/gid 65534) in a child process when root,
// so that permission checks apply; as the current user otherwise. Answers
// fn's result.
inline bool runAsUnprivilegedUser(const std::function<bool()> &fn) {
  if (::geteuid() != 0)
    return fn();
  const pid_t child = ::fork();
  if (child == 0) {
    const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && fn();
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace kestrum::test
