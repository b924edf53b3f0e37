#include "FileIO.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrum {
namespace {

constexpr qint64 kCopyChunk = 1 << 16;

QString systemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

Result cannotWrite(const QString &path, int error) {
  return Result::failure(QStringLiteral("Cannot write %1: %2").arg(path, systemReason(error)));
}

QString kindOf(mode_t mode) {
  if (S_ISDIR(mode))
    return QStringLiteral("a folder");
  if (S_ISCHR(mode) || S_ISBLK(mode))
    return QStringLiteral("a device");
  if (S_ISFIFO(mode))
    return QStringLiteral("a FIFO");
  if (S_ISSOCK(mode))
    return QStringLiteral("a socket");
  return QStringLiteral("not a regular file");
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  ~FileDescriptor() { reset(); }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now; false (with errno set) when close reports a failed write.
  bool reset() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

private:
  int fd_;
};

bool writeAll(int fd, const char *data, qint64 size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size_t(size));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    data += n;
    size -= n;
  }
  return true;
}

// Copies from `from` (at offset start) to the end of `to`, keeping holes:
// only data regions are read and written, and the length is set at the end.
bool copyTail(int from, qint64 start, qint64 end, int to) {
  QByteArray buffer(kCopyChunk, Qt::Uninitialized);
  qint64 at = start;
  while (at < end) {
    const off_t data = ::lseek(from, at, SEEK_DATA);
    if (data < 0 && errno == ENXIO)
      break; // only a hole is left
    if (data >= 0)
      at = data;
    const ssize_t n = ::pread(from, buffer.data(), size_t(std::min(kCopyChunk, end - at)), at);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    if (n == 0)
      break;
    if (::lseek(to, at, SEEK_SET) < 0 || !writeAll(to, buffer.constData(), n))
      return false;
    at += n;
  }
  return ::ftruncate(to, end) == 0;
}

// Where the bytes go: the link's target for a link, else path itself.
QString resolvedTarget(const QString &path) {
  const QFileInfo info(path);
  if (!info.isSymLink())
    return path;
  const QString target = info.canonicalFilePath();
  return target.isEmpty() ? path : target;
}

// Creates "<folder>/.<name>.XXXXXX" exclusively (never through a link).
int createTemporaryBeside(const QString &target, mode_t mode, QByteArray &tempName) {
  const QFileInfo info(target);
  const QString prefix = info.absolutePath() + QStringLiteral("/.") + info.fileName() + '.';
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempName = QFile::encodeName(
        prefix + QString::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 36));
    const int fd =
        ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

bool renameNoReplace(const char *from, const char *to) {
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS)
    return false;
  // File systems without RENAME_NOREPLACE: a hard link fails on an existing name.
  if (::link(from, to) != 0)
    return false;
  ::unlink(from);
  return true;
}

} // namespace

Result checkRegularFile(const QString &path, bool mayBeMissing) {
  const QByteArray native = QFile::encodeName(path);
  struct stat st {};
  if (::stat(native.constData(), &st) == 0) {
    if (S_ISREG(st.st_mode))
      return Result::success();
    return Result::failure(
        QStringLiteral("%1 is %2, not a regular file.").arg(path, kindOf(st.st_mode)));
  }
  const int error = errno;
  if (error == ELOOP)
    return Result::failure(QStringLiteral("%1 is a link that loops.").arg(path));
  if (error == ENOENT) {
    struct stat link {};
    if (::lstat(native.constData(), &link) == 0)
      return Result::failure(QStringLiteral("%1 is a link to nothing.").arg(path));
    if (mayBeMissing)
      return Result::success();
  }
  return Result::failure(QStringLiteral("%1: %2").arg(path, systemReason(error)));
}

Result readSmallFile(const QString &path, qint64 maxBytes, QByteArray &bytes) {
  if (Result r = checkRegularFile(path, false); !r.ok())
    return r;
  const QByteArray native = QFile::encodeName(path);
  FileDescriptor fd(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.ok())
    return Result::failure(QStringLiteral("Cannot open %1: %2").arg(path, systemReason(errno)));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    return Result::failure(QStringLiteral("%1 is not a regular file.").arg(path));
  if (st.st_size > maxBytes)
    return Result::failure(QStringLiteral("%1 is too big (%2 bytes; at most %3 are read).")
                               .arg(path)
                               .arg(st.st_size)
                               .arg(maxBytes));
  // Read at most one byte past the limit, in case the file grows meanwhile.
  QByteArray read(qsizetype(std::min<qint64>(st.st_size, maxBytes) + 1), Qt::Uninitialized);
  qint64 got = 0;
  while (got < read.size()) {
    const ssize_t n = ::read(fd.get(), read.data() + got, size_t(read.size() - got));
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      return Result::failure(QStringLiteral("Cannot read %1: %2").arg(path, systemReason(errno)));
    if (n == 0)
      break;
    got += n;
    if (got == read.size() && got <= maxBytes)
      read.resize(std::min<qint64>(read.size() * 2, maxBytes + 1));
  }
  if (got > maxBytes)
    return Result::failure(
        QStringLiteral("%1 is too big (more than %2 bytes).").arg(path).arg(maxBytes));
  read.resize(got);
  bytes = read;
  return Result::success();
}

ReplacingFile::ReplacingFile(const QString &path, const WriteOptions &options)
    : path_(path), options_(options) {}

ReplacingFile::~ReplacingFile() {
  discard();
}

void ReplacingFile::discard() {
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
  if (!inPlace_ && !temp_.isEmpty())
    ::unlink(temp_.constData());
  temp_.clear();
}

Result ReplacingFile::fail(int error) {
  discard();
  return cannotWrite(path_, error);
}

Result ReplacingFile::open() {
  if (Result r = checkRegularFile(path_, true); !r.ok())
    return r;
  target_ = QFile::encodeName(resolvedTarget(path_));
  struct stat old {};
  exists_ = ::stat(target_.constData(), &old) == 0;
  if (exists_ && options_.mustNotExist)
    return Result::failure(QStringLiteral("%1 exists already.").arg(path_));
  if (exists_ && !(old.st_mode & S_IWUSR))
    return Result::failure(QStringLiteral("%1 is read-only.").arg(path_));
  oldSize_ = exists_ ? old.st_size : 0;
  oldMode_ = old.st_mode;
  oldOwner_ = old.st_uid;
  oldGroup_ = old.st_gid;
  written_ = 0;

  // A new file gets its mode at creation, through the umask unless it is
  // for its owner only; a replaced file gets the old mode at commit.
  const mode_t createMode = options_.ownerOnlyIfNew ? (S_IRUSR | S_IWUSR) : 0666;
  fd_ = createTemporaryBeside(QFile::decodeName(target_), createMode, temp_);
  if (fd_ >= 0)
    return Result::success();
  const int error = errno;
  temp_.clear();
  // A folder the user may not write to: a writable file there is written
  // in place, as before atomic saving.
  if (exists_ && (error == EACCES || error == EPERM || error == EROFS)) {
    fd_ = ::open(target_.constData(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0)
      return cannotWrite(path_, errno);
    inPlace_ = true;
    return Result::success();
  }
  return cannotWrite(path_, error);
}

Result ReplacingFile::write(const char *data, qint64 size) {
  if (fd_ < 0)
    return cannotWrite(path_, EBADF);
  if (!writeAll(fd_, data, size))
    return fail(errno);
  written_ += size;
  return Result::success();
}

Result ReplacingFile::commit() {
  if (fd_ < 0)
    return cannotWrite(path_, EBADF);
  const bool keepTail = exists_ && options_.keepOldTail && oldSize_ > written_;
  if (inPlace_) {
    // The old bytes behind the new ones are still there; without
    // keepOldTail they are cut off.
    if (!keepTail && ::ftruncate(fd_, written_) != 0)
      return fail(errno);
  } else {
    if (keepTail) {
      FileDescriptor from(::open(target_.constData(), O_RDONLY | O_CLOEXEC));
      if (!from.ok() || !copyTail(from.get(), written_, oldSize_, fd_))
        return fail(errno);
    }
    if (exists_) {
      // Owner and group first: changing them may clear set-id bits of the
      // mode. Where the owner may not be given away, at least the group is
      // kept; where neither is permitted the file becomes the saving user's.
      if (::fchown(fd_, oldOwner_, oldGroup_) != 0 && ::fchown(fd_, uid_t(-1), oldGroup_) != 0) {
      }
      if (::fchmod(fd_, oldMode_ & 07777) != 0)
        return fail(errno);
    }
  }
  const int fd = fd_;
  fd_ = -1;
  if (::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    return fail(error);
  }
  if (::close(fd) != 0)
    return fail(errno);
  if (inPlace_)
    return Result::success();
  const bool renamed = options_.mustNotExist
                           ? renameNoReplace(temp_.constData(), target_.constData())
                           : ::rename(temp_.constData(), target_.constData()) == 0;
  if (!renamed) {
    const int error = errno;
    discard();
    if (error == EEXIST)
      return Result::failure(QStringLiteral("%1 exists already.").arg(path_));
    return cannotWrite(path_, error);
  }
  temp_.clear();
  return Result::success();
}

Result writeFileAtomically(const QString &path, const QByteArray &bytes,
                           const WriteOptions &options) {
  ReplacingFile file(path, options);
  if (Result r = file.open(); !r.ok())
    return r;
  if (Result r = file.write(bytes.constData(), bytes.size()); !r.ok())
    return r;
  return file.commit();
}

} // namespace kestrum
