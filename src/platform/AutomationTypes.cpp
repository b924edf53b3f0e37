#include "AutomationTypes.h"

#include <QLocale>
#include <QStringList>

#include <cmath>
#include <limits>

namespace kestrum {

const char *varTypeName(VarType type) {
  switch (type) {
  case VarType::Empty: return "Empty";
  case VarType::I32: return "Long";
  case VarType::Double: return "Double";
  case VarType::Bool: return "Boolean";
  case VarType::String: return "String";
  case VarType::Currency: return "Currency";
  case VarType::Color: return "OLE_COLOR";
  case VarType::Picture: return "Picture";
  }
  return "?";
}

int32_t Variant::toI32() const {
  if (auto p = std::get_if<int32_t>(&v_))
    return *p;
  if (auto p = std::get_if<bool>(&v_))
    return *p ? -1 : 0;
  if (auto p = std::get_if<OleColor>(&v_))
    return int32_t(p->value);
  return 0;
}

double Variant::toDouble() const {
  if (auto p = std::get_if<double>(&v_))
    return *p;
  if (auto p = std::get_if<Currency>(&v_))
    return double(p->scaled) / 10000.0;
  return toI32();
}

bool Variant::toBool() const {
  if (auto p = std::get_if<bool>(&v_))
    return *p;
  return toDouble() != 0;
}

QString Variant::toString() const {
  if (auto p = std::get_if<QString>(&v_))
    return *p;
  return QString();
}

Currency Variant::toCurrency() const {
  if (auto p = std::get_if<Currency>(&v_))
    return *p;
  return Currency::fromWhole(toI32());
}

OleColor Variant::toColor() const {
  if (auto p = std::get_if<OleColor>(&v_))
    return *p;
  return OleColor{uint32_t(toI32())};
}

PicturePtr Variant::toPicture() const {
  if (auto p = std::get_if<PicturePtr>(&v_))
    return *p;
  return nullptr;
}

namespace {

// Reads a number the way automation reads one from text: decimal with an
// optional sign, fraction and exponent, or &H / &O followed by digits.
bool parseNumber(QString text, double &out) {
  text = text.trimmed();
  if (text.isEmpty())
    return false;
  if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) ||
      text.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
    bool ok = false;
    const int base = text[1].toUpper() == QLatin1Char('H') ? 16 : 8;
    const qulonglong bits = text.mid(2).toULongLong(&ok, base);
    if (!ok || bits > 0xFFFFFFFFull)
      return false;
    // Up to 4 hex digits make a 16-bit value, more a 32-bit one (both signed).
    out = bits <= 0xFFFF && text.size() - 2 <= 4 ? double(int16_t(uint16_t(bits)))
                                                 : double(int32_t(uint32_t(bits)));
    return true;
  }
  bool ok = false;
  out = text.toDouble(&ok);
  return ok && std::isfinite(out);
}

bool parseBool(const QString &text, bool &out) {
  const QString t = text.trimmed();
  if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
    out = true;
    return true;
  }
  if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
    out = false;
    return true;
  }
  double number = 0;
  if (!parseNumber(t, number))
    return false;
  out = number != 0;
  return true;
}

int roundToI32(double value, int32_t &out) {
  const double rounded = std::nearbyint(value); // the default mode rounds halves to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
    return 6;
  out = int32_t(rounded);
  return 0;
}

int toCurrencyChecked(double value, Currency &out) {
  const double scaled = std::nearbyint(value * 10000.0);
  if (!(std::fabs(scaled) < 9.2e18))
    return 6;
  out.scaled = int64_t(scaled);
  return 0;
}

QString currencyText(Currency c) {
  const bool negative = c.scaled < 0;
  const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(c.scaled) : uint64_t(c.scaled);
  QString text = QString::number(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction) {
    QString digits = QString::number(fraction).rightJustified(4, QLatin1Char('0'));
    while (digits.endsWith(QLatin1Char('0')))
      digits.chop(1);
    text += QLatin1Char('.') + digits;
  }
  return negative ? QLatin1Char('-') + text : text;
}

// Every digit of a double that a container prints: whole numbers as plain
// digits, others in the shortest form that reads back as the same double.
QString exactDecimal(double value) {
  if (value == 0)
    return QStringLiteral("0"); // also -0
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e21)
    return QString::number(value, 'f', 0);
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

int Variant::convertTo(VarType target, Variant &out) const {
  const VarType from = type();
  if (from == target) {
    out = *this;
    return 0;
  }
  if (from == VarType::Picture || target == VarType::Picture) {
    if (target == VarType::Picture && from == VarType::Empty) {
      out = Variant(PicturePtr());
      return 0;
    }
    return 13;
  }
  // The numeric value of a non-string source, or the parsed text.
  double number = 0;
  if (from == VarType::String && target != VarType::String && target != VarType::Bool) {
    if (!parseNumber(toString(), number))
      return 13;
  } else {
    number = toDouble();
  }
  switch (target) {
  case VarType::Empty: out = Variant(); return 0;
  case VarType::String:
    // Text of a double keeps 15 significant digits, as the automation rules do.
    out = Variant(from == VarType::Double ? QString::number(number, 'g', 15) : toDisplayString());
    return 0;
  case VarType::Bool: {
    bool flag = number != 0;
    if (from == VarType::String && !parseBool(toString(), flag))
      return 13;
    out = Variant(flag);
    return 0;
  }
  case VarType::Double: out = Variant(number); return 0;
  case VarType::I32: {
    int32_t value = 0;
    if (const int error = roundToI32(number, value))
      return error;
    out = Variant(value);
    return 0;
  }
  case VarType::Color: {
    int32_t value = 0;
    if (const int error = roundToI32(number, value))
      return error;
    out = Variant(OleColor{uint32_t(value)});
    return 0;
  }
  case VarType::Currency: {
    Currency value;
    if (from == VarType::String) {
      // Exact decimal reading, so large byte counts keep every digit.
      const QString t = toString().trimmed();
      const qsizetype dot = t.indexOf(QLatin1Char('.'));
      bool okWhole = true, okFraction = true;
      const QString wholeText = dot < 0 ? t : t.left(dot);
      const QString fractionText = dot < 0 ? QString() : t.mid(dot + 1);
      const qlonglong whole = wholeText.toLongLong(&okWhole);
      if (okWhole && fractionText.size() <= 4 &&
          (fractionText.isEmpty() || (fractionText.toUInt(&okFraction), okFraction)) &&
          whole > -922337203685477LL && whole < 922337203685477LL) {
        const int64_t fraction = fractionText.isEmpty()
                                     ? 0
                                     : fractionText.leftJustified(4, QLatin1Char('0')).toLongLong();
        const bool negative = wholeText.startsWith(QLatin1Char('-'));
        value.scaled = whole * 10000 + (negative ? -fraction : fraction);
        out = Variant(value);
        return 0;
      }
    }
    if (const int error = toCurrencyChecked(number, value))
      return error;
    out = Variant(value);
    return 0;
  }
  case VarType::Picture: break;
  }
  return 13;
}

QString Variant::toDisplayString() const {
  switch (type()) {
  case VarType::Empty: return QString();
  case VarType::I32: return QString::number(toI32());
  case VarType::Double: return exactDecimal(toDouble());
  case VarType::Bool: return toBool() ? QStringLiteral("True") : QStringLiteral("False");
  case VarType::String: return toString();
  case VarType::Currency: return currencyText(toCurrency());
  case VarType::Color: return QString::number(int32_t(toColor().value));
  case VarType::Picture: {
    const PicturePtr picture = toPicture();
    return QStringLiteral("picture %1x%2")
        .arg(picture ? picture->width : 0)
        .arg(picture ? picture->height : 0);
  }
  }
  return QString();
}

bool Variant::operator==(const Variant &other) const {
  if (type() != other.type())
    return false;
  if (type() == VarType::Picture) {
    const PicturePtr a = toPicture(), b = other.toPicture();
    if (!a || !b)
      return !a && !b;
    return a == b || *a == *b;
  }
  return v_ == other.v_;
}

QString guidToString(const Guid &guid) {
  QString text = QStringLiteral("{%1-%2-%3-")
                     .arg(guid.data1, 8, 16, QLatin1Char('0'))
                     .arg(guid.data2, 4, 16, QLatin1Char('0'))
                     .arg(guid.data3, 4, 16, QLatin1Char('0'));
  for (int i = 0; i < 8; ++i) {
    if (i == 2)
      text += QLatin1Char('-');
    text += QStringLiteral("%1").arg(guid.data4[i], 2, 16, QLatin1Char('0'));
  }
  return text.toUpper() + QLatin1Char('}');
}

bool parseGuid(const QString &text, Guid &out) {
  QString t = text.trimmed();
  if (t.startsWith(QLatin1Char('{')) && t.endsWith(QLatin1Char('}')))
    t = t.mid(1, t.size() - 2);
  const QStringList parts = t.split(QLatin1Char('-'));
  if (parts.size() != 5 || parts[0].size() != 8 || parts[1].size() != 4 || parts[2].size() != 4 ||
      parts[3].size() != 4 || parts[4].size() != 12)
    return false;
  bool ok[5] = {};
  Guid guid;
  guid.data1 = parts[0].toUInt(&ok[0], 16);
  guid.data2 = uint16_t(parts[1].toUShort(&ok[1], 16));
  guid.data3 = uint16_t(parts[2].toUShort(&ok[2], 16));
  const QString tail = parts[3] + parts[4];
  ok[3] = ok[4] = true;
  for (int i = 0; i < 8; ++i) {
    bool byteOk = false;
    guid.data4[i] = uint8_t(tail.mid(i * 2, 2).toUShort(&byteOk, 16));
    ok[3] = ok[3] && byteOk;
  }
  for (bool b : ok)
    if (!b)
      return false;
  out = guid;
  return true;
}

} // namespace kestrum
