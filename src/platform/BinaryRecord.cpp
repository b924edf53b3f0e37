#include "BinaryRecord.h"

#include "Ansi.h"

#include <limits>

namespace kestrum {

bool BinaryReader::readExact(char *data, qint64 size) {
  if (truncated_ || failed_)
    return false;
  qint64 got = 0;
  while (got < size) {
    const qint64 n = device_.read(data + got, size - got);
    if (n < 0) {
      failed_ = true;
      return false;
    }
    if (n == 0) {
      truncated_ = true;
      return false;
    }
    got += n;
  }
  return true;
}

int16_t BinaryReader::readI16() {
  unsigned char b[2];
  if (!readExact(reinterpret_cast<char *>(b), 2))
    return 0;
  return int16_t(uint16_t(b[0] | (b[1] << 8)));
}

int32_t BinaryReader::readI32() {
  unsigned char b[4];
  if (!readExact(reinterpret_cast<char *>(b), 4))
    return 0;
  return int32_t(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
                 (uint32_t(b[3]) << 24));
}

QString BinaryReader::readString() {
  const auto length = uint16_t(readI16());
  if (length == 0)
    return {};
  QByteArray bytes(length, Qt::Uninitialized);
  if (!readExact(bytes.data(), length))
    return {};
  return fromAnsi(bytes);
}

void BinaryWriter::writeI16(int16_t value) {
  const auto v = uint16_t(value);
  bytes_.append(char(v & 0xFF));
  bytes_.append(char(v >> 8));
}

void BinaryWriter::writeI32(int32_t value) {
  const auto v = uint32_t(value);
  for (int shift = 0; shift < 32; shift += 8)
    bytes_.append(char((v >> shift) & 0xFF));
}

void BinaryWriter::writeString(const QString &text, const char *fieldName) {
  QByteArray ansi = toAnsi(text);
  if (ansi.size() > std::numeric_limits<uint16_t>::max()) {
    if (overflowError_.isEmpty())
      overflowError_ =
          QStringLiteral("The text of %1 takes %2 bytes; a file can hold at most 65535.")
              .arg(QString::fromLatin1(fieldName))
              .arg(ansi.size());
    ansi.clear();
  }
  writeI16(int16_t(uint16_t(ansi.size())));
  bytes_.append(ansi);
}

} // namespace kestrum
