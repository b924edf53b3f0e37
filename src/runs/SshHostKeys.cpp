#include "SshHostKeys.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrum {

namespace {

Result systemFailure(const QString &what, const QString &path) {
  return Result::failure(
      QStringLiteral("Cannot %1 %2: %3").arg(what, path, QString::fromLocal8Bit(strerror(errno))));
}

bool writeAll(int fd, const QByteArray &bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    done += n;
  }
  return true;
}

} // namespace

QString SshHostKey::type() const {
  // The blob starts with the type name as an SSH string (32-bit length).
  if (blob.size() < 4)
    return QStringLiteral("unknown");
  const auto *b = reinterpret_cast<const unsigned char *>(blob.constData());
  const quint32 length = quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3];
  if (length == 0 || length > 64 || length > quint32(blob.size() - 4))
    return QStringLiteral("unknown");
  const QByteArray name = blob.mid(4, length);
  for (const char c : name)
    if (c <= ' ' || c > '~')
      return QStringLiteral("unknown");
  return QString::fromLatin1(name);
}

QString SshHostKey::fingerprint() const {
  return QStringLiteral("SHA256:") +
         QString::fromLatin1(QCryptographicHash::hash(blob, QCryptographicHash::Sha256)
                                 .toBase64(QByteArray::OmitTrailingEquals));
}

QByteArray SshHostKey::knownHostsLine(const QString &host, int port) const {
  const QByteArray name =
      port == 22 ? host.toUtf8() : '[' + host.toUtf8() + "]:" + QByteArray::number(port);
  return name + ' ' + type().toLatin1() + ' ' + blob.toBase64();
}

QString userKnownHostsFile() {
  return QDir::homePath() + QStringLiteral("/.ssh/known_hosts");
}

Result appendKnownHost(const QString &path, const QByteArray &line) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QFileInfo::exists(folder) && ::mkdir(QFile::encodeName(folder).constData(), 0700) != 0)
    return systemFailure(QStringLiteral("create"), folder);
  const int fd =
      ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0)
    return systemFailure(QStringLiteral("open"), path);
  QByteArray bytes = line + '\n';
  struct stat info {};
  char last = '\n';
  if (::fstat(fd, &info) == 0 && info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) == 1 &&
      last != '\n')
    bytes.prepend('\n');
  const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  Result result = written ? Result::success() : systemFailure(QStringLiteral("write"), path);
  ::close(fd);
  return result;
}

} // namespace kestrum
