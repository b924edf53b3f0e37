#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>

namespace kestrum {

// Reads little-endian record fields from a device. A field that the end of
// the data cuts short reads as empty/0 and sets truncated(); nothing is ever
// allocated beyond what the 16-bit string lengths allow.
class BinaryReader {
public:
  explicit BinaryReader(QIODevice &device) : device_(device) {}

  int16_t readI16();
  int32_t readI32();
  QString readString(); // 16-bit length, then that many Windows-1252 bytes

  bool truncated() const { return truncated_; }
  bool failed() const { return failed_; } // the device reported an error

private:
  bool readExact(char *data, qint64 size);

  QIODevice &device_;
  bool truncated_ = false;
  bool failed_ = false;
};

// Builds a record in memory. A string longer than 65535 bytes cannot be
// stored: the writer remembers the first such field and the caller refuses
// to write anything.
class BinaryWriter {
public:
  void writeI16(int16_t value);
  void writeI32(int32_t value);
  void writeString(const QString &text, const char *fieldName);

  const QByteArray &bytes() const { return bytes_; }
  // Empty when every string fitted; else names the first that did not.
  const QString &overflowError() const { return overflowError_; }

private:
  QByteArray bytes_;
  QString overflowError_;
};

} // namespace kestrum
