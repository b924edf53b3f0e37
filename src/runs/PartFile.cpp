#include "PartFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kestrum {

PartFile::~PartFile() {
  if (fd_ >= 0)
    ::close(fd_);
  if (!temporary_.isEmpty())
    ::unlink(QFile::encodeName(temporary_).constData());
}

bool PartFile::fail(const QString &what) {
  const int cause = errno;
  error_ = QStringLiteral("could not %1 %2: %3")
               .arg(what, path_, QString::fromLocal8Bit(std::strerror(cause)));
  return false;
}

bool PartFile::open() {
  const QFileInfo info(path_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString candidate =
        info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".part-") +
        QString::number(QRandomGenerator::global()->generate() & 0xffffff, 16);
    // Like any new file: 0666 less the umask. O_EXCL never follows a link.
    fd_ = ::open(QFile::encodeName(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                 0666);
    if (fd_ >= 0) {
      temporary_ = candidate;
      return true;
    }
    if (errno != EEXIST)
      return fail(QStringLiteral("write"));
  }
  return fail(QStringLiteral("write"));
}

bool PartFile::write(const char *bytes, qint64 size) {
  while (size > 0) {
    const ssize_t n = ::write(fd_, bytes, size_t(size));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return fail(QStringLiteral("write"));
    bytes += n;
    size -= n;
  }
  return true;
}

bool PartFile::commit(bool durable) {
  if (durable && ::fdatasync(fd_) != 0)
    return fail(QStringLiteral("write"));
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0)
    return fail(QStringLiteral("write"));
  if (::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(path_).constData()) !=
      0)
    return fail(QStringLiteral("rename the finished download to"));
  temporary_.clear();
  return true;
}

} // namespace kestrum
