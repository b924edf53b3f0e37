#include "LeadingNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestrum {
namespace {

bool isSkipped(QChar ch) {
  return ch == QLatin1Char(' ') || ch == QLatin1Char('\t') || ch == QLatin1Char('\n');
}

// The text without the characters that the reader skips anywhere.
QString withoutBlanks(const QString &text) {
  QString out;
  out.reserve(text.size());
  for (QChar ch : text)
    if (!isSkipped(ch))
      out.append(ch);
  return out;
}

double radixNumber(const QString &digits, int radix) {
  uint64_t value = 0;
  int count = 0;
  for (QChar ch : digits) {
    const int d = HexDigitValue(ch);
    if (d < 0 || d >= radix || count == 16)
      break;
    value = value * radix + d;
    ++count;
  }
  // Short literals are signed 16- or 32-bit values: &HFFFF is -1, and so
  // is &HFFFFFFFF.
  if (value <= 0xFFFF && count <= (radix == 16 ? 4 : 6))
    return double(int16_t(uint16_t(value)));
  if (value <= 0xFFFFFFFFull && count <= (radix == 16 ? 8 : 11))
    return double(int32_t(uint32_t(value)));
  return double(value);
}

} // namespace

double LeadingNumber(const QString &text) {
  const QString s = withoutBlanks(text);
  if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
    return radixNumber(s.mid(2), 16);
  if (s.startsWith(QLatin1String("&O"), Qt::CaseInsensitive))
    return radixNumber(s.mid(2), 8);

  qsizetype i = 0;
  const qsizetype n = s.size();
  auto isDigit = [&](qsizetype k) {
    return k < n && s[k] >= QLatin1Char('0') && s[k] <= QLatin1Char('9');
  };
  QString number;
  if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
    number += s[i++];
  qsizetype digits = 0;
  while (isDigit(i)) {
    number += s[i++];
    ++digits;
  }
  if (i < n && s[i] == QLatin1Char('.')) {
    number += s[i++];
    while (isDigit(i)) {
      number += s[i++];
      ++digits;
    }
  }
  if (digits == 0)
    return 0.0;
  if (i < n && (s[i].toUpper() == QLatin1Char('E') || s[i].toUpper() == QLatin1Char('D'))) {
    qsizetype j = i + 1;
    QString exponent = QStringLiteral("e");
    if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
      exponent += s[j++];
    if (isDigit(j)) {
      while (isDigit(j))
        exponent += s[j++];
      number += exponent;
    }
  }
  // from_chars ignores the locale. Out of range: a huge value (which the
  // rounding clamps) or, for a negative exponent, zero.
  const QByteArray latin = number.toLatin1();
  const char *begin = latin.constData();
  if (*begin == '+')
    ++begin;
  double value = 0;
  const auto [end, error] = std::from_chars(begin, latin.constData() + latin.size(), value);
  if (error == std::errc::result_out_of_range)
    return latin.contains("e-") ? 0.0 : (latin.startsWith('-') ? -HUGE_VAL : HUGE_VAL);
  return value;
}

int HexDigitValue(QChar ch) {
  const char16_t c = ch.toLower().unicode();
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  return -1;
}

int32_t RoundToI32(double value) {
  if (std::isnan(value))
    return 0;
  const double rounded = std::nearbyint(value); // default mode: halves to even
  if (rounded >= double(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (rounded <= double(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return int32_t(rounded);
}

int16_t RoundToI16(double value) {
  const int32_t v = RoundToI32(value);
  return int16_t(std::clamp<int32_t>(v, std::numeric_limits<int16_t>::min(),
                                     std::numeric_limits<int16_t>::max()));
}

} // namespace kestrum
