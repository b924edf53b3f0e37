#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

namespace kestrum {

// How a file is replaced.
struct WriteOptions {
  // Bytes that an older, longer file held behind the new bytes stay where
  // they were (copied in fixed-size chunks, holes kept, so memory does not
  // grow with the old file).
  bool keepOldTail = false;
  // A file that does not exist yet is created readable by its owner only
  // (for files that may hold passwords); an existing file keeps its mode.
  bool ownerOnlyIfNew = false;
  // Refuse when something exists under the name already.
  bool mustNotExist = false;
};

// Writes bytes to a temporary file beside path and renames it over path, so
// a crash or a full disk never leaves a torn file. A link is followed to the
// regular file it names, which is the one replaced. The replaced file keeps
// its mode, and its owner and group where the system allows. When the folder
// cannot take a temporary file but the file itself is writable, the file is
// written in place instead. Anything that is not a regular file (a folder, a
// device, a FIFO, a link loop) is refused, as is a read-only file. Errors
// name the path and the system's reason.
Result writeFileAtomically(const QString &path, const QByteArray &bytes,
                           const WriteOptions &options = {});

// The same, written piece by piece: open, write..., commit. Until commit the
// old file is untouched (except in the in-place case); destroying the object
// without a commit discards what was written.
class ReplacingFile {
public:
  explicit ReplacingFile(const QString &path, const WriteOptions &options = {});
  ReplacingFile(const ReplacingFile &) = delete;
  ReplacingFile &operator=(const ReplacingFile &) = delete;
  ~ReplacingFile();

  Result open();
  Result write(const char *data, qint64 size);
  Result commit();

private:
  Result fail(int error);
  void discard();

  QString path_;
  WriteOptions options_;
  QByteArray target_; // the regular file replaced (a link's target)
  QByteArray temp_;   // the temporary file beside it
  int fd_ = -1;
  bool inPlace_ = false;
  bool exists_ = false;
  qint64 oldSize_ = 0;
  qint64 written_ = 0;
  unsigned oldMode_ = 0, oldOwner_ = 0, oldGroup_ = 0;
};

// Refuses what is not a regular file or a link to one, without opening it
// (so a FIFO or a device never blocks or streams). A missing path is accepted
// when mayBeMissing; a dangling link never is.
Result checkRegularFile(const QString &path, bool mayBeMissing);

// Reads a whole regular file of at most maxBytes bytes. Larger files are
// refused with an error rather than read.
Result readSmallFile(const QString &path, qint64 maxBytes, QByteArray &bytes);

} // namespace kestrum
