#pragma once

#include <QString>

namespace kestrum {

// A file that appears under its name only once it is complete: the bytes go
// to a hidden temporary file beside the name (".NAME.part-XXXXXX", which no
// log pattern matches), renamed over the name by commit. Destroyed without
// commit, the temporary file is removed. Streams, so memory stays flat.
class PartFile {
public:
  explicit PartFile(QString path) : path_(std::move(path)) {}
  ~PartFile();
  PartFile(const PartFile &) = delete;
  PartFile &operator=(const PartFile &) = delete;

  bool open();
  bool write(const char *bytes, qint64 size);
  // durable: the bytes reach the disk before the rename (needed when the
  // only other copy is deleted next).
  bool commit(bool durable);
  // What failed, with the system's reason.
  QString errorString() const { return error_; }

private:
  bool fail(const QString &what);

  QString path_;
  QString temporary_;
  int fd_ = -1;
  QString error_;
};

} // namespace kestrum
