#include "TellurixCode.h"

#include "FileFacts.h"

#include <cmath>

namespace kestrum::tellurix {

QString CutAtNull(const QString &s) {
  const qsizetype nul = s.indexOf(QChar(0));
  return nul < 0 ? s : s.left(nul);
}

int32_t LastCharPos(const QString &s, QString &c) {
  if (c.isEmpty())
    return 0;
  c.truncate(1);
  return int32_t(s.lastIndexOf(c[0]) + 1);
}

QString FileNamePart(const QString &path) {
  QString slash = QStringLiteral("/");
  const int32_t pos = LastCharPos(path, slash);
  return pos > 0 ? path.mid(pos) : path;
}

bool IsPEImage(const QString &path) {
  QByteArray signature;
  return FileExists(path) && WindowsSignature(path, signature) == 0 && signature == "PE";
}

int FuncBinToStr(double value, QString &out) {
  constexpr double kLimit = 1073741824.0; // 2^30
  if (!(value < kLimit))
    return 6; // the digit search leaves the 32-bit range (also for NaN)
  int digits = 0;
  while (std::ldexp(1.0, digits) <= value)
    ++digits;
  double v = std::nearbyint(value); // halves to even
  out.clear();
  for (int i = digits - 1; i >= 0; --i) {
    const double bit = std::ldexp(1.0, i);
    if (v - bit >= 0) {
      out += QLatin1Char('1');
      v -= bit;
    } else {
      out += QLatin1Char('0');
    }
  }
  if (out.isEmpty())
    out = QStringLiteral("0");
  return 0;
}

int FuncStrToBin(const QString &text, double &out) {
  const qsizetype length = text.size();
  if (length > 1024)
    return 6; // the place values leave the range of a double
  out = 0;
  for (qsizetype i = 0; i < length; ++i) {
    const QChar c = text[i];
    const int digit = c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0;
    out += digit * std::ldexp(1.0, int(length - 1 - i));
  }
  if (!std::isfinite(out))
    return 6;
  return 0;
}

int32_t FuncHiWord(int32_t dword) {
  return dword >> 16;
}

int32_t FuncLowWord(int32_t dword) {
  return int16_t(uint16_t(uint32_t(dword) & 0xFFFF));
}

QString HexId(uint32_t value) {
  return QString::number(value, 16).toUpper();
}

} // namespace kestrum::tellurix
