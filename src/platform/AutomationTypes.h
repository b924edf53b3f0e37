#pragma once

// Values that cross the automation boundary between a host and a control.

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

namespace kestrum {

// A 64-bit fixed-point number with four decimal places: value × 10000.
struct Currency {
  int64_t scaled = 0;
  static Currency fromWhole(int64_t whole) { return {whole * 10000}; }
  bool operator==(const Currency &) const = default;
};

// An OLE colour: 0x00BBGGRR, or 0x80000000 + index for a system colour.
struct OleColor {
  uint32_t value = 0;
  bool operator==(const OleColor &) const = default;
};

// A picture object: ARGB pixels, row by row. A null PicturePtr is "no picture".
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
  bool operator==(const Picture &) const = default;
};
using PicturePtr = std::shared_ptr<const Picture>;

enum class VarType { Empty, I32, Double, Bool, String, Currency, Color, Picture };

const char *varTypeName(VarType type);

class Variant {
public:
  Variant() = default;
  Variant(int32_t value) : v_(value) {}
  Variant(double value) : v_(value) {}
  Variant(bool value) : v_(value) {}
  Variant(const QString &value) : v_(value) {}
  Variant(const char *value) : v_(QString::fromUtf8(value)) {}
  Variant(Currency value) : v_(value) {}
  Variant(OleColor value) : v_(value) {}
  Variant(PicturePtr value) : v_(std::move(value)) {}

  VarType type() const { return static_cast<VarType>(v_.index()); }
  bool isEmpty() const { return type() == VarType::Empty; }

  // The held value; a value of another type reads as the zero of the asked type.
  int32_t toI32() const;
  double toDouble() const;
  bool toBool() const;
  QString toString() const;
  Currency toCurrency() const;
  OleColor toColor() const;
  PicturePtr toPicture() const;

  // Converts by the automation rules (numbers from decimal text, Booleans as
  // True/False or -1/0, halves rounded to even). Returns 0, TypeMismatch (13)
  // or Overflow (6).
  int convertTo(VarType target, Variant &out) const;

  // The form a test container prints: numbers in decimal, True/False,
  // currency with up to four decimals, pictures as "picture WxH".
  QString toDisplayString() const;

  bool operator==(const Variant &other) const;

private:
  std::variant<std::monostate, int32_t, double, bool, QString, Currency, OleColor, PicturePtr> v_;
};

// A class or interface identifier.
struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
  bool operator==(const Guid &) const = default;
};

// "{8F07F85D-6532-11D2-BEBB-900962C10000}" (upper case, with braces).
QString guidToString(const Guid &guid);
// Accepts the form above, braces optional, any case.
bool parseGuid(const QString &text, Guid &out);

} // namespace kestrum
