#include "Ansi.h"

#include <array>

namespace kestrum {
namespace {

// Unicode code points of the bytes 0x80..0x9F; the undefined ones keep their
// own value (U+0081, U+008D, U+008F, U+0090, U+009D).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t decodeByte(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F)
    return kHighControls[byte - 0x80];
  return byte;
}

int encodeChar(char16_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
    return ch;
  for (size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == ch)
      return int(0x80 + i);
  return -1;
}

} // namespace

QString fromAnsi(QByteArrayView bytes) {
  QString text;
  text.resize(bytes.size());
  QChar *out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i)
    out[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
  return text;
}

QByteArray toAnsi(const QString &text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
      ++i; // one '?' for the whole pair
    const int byte = encodeChar(ch.unicode());
    bytes.append(byte < 0 ? '?' : char(byte));
  }
  return bytes;
}

} // namespace kestrum
