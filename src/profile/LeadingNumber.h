#pragma once

#include <QString>

#include <cstdint>

namespace kestrum {

// The leading number of a text, read the way the window reads number fields:
// blanks, tabs and line feeds are skipped wherever they occur; then an
// optional sign, digits, an optional decimal point with digits and an
// optional exponent (E or D) up to the first character that does not fit.
// "&H" and "&O" introduce hexadecimal and octal numbers (up to four digits
// give a 16-bit value, up to eight a 32-bit one). No number gives 0.
double LeadingNumber(const QString &text);

// The value of a hexadecimal digit (0-9, a-f, A-F), or -1.
int HexDigitValue(QChar ch);

// Rounds to the nearest whole number, halves to the even neighbour. Values
// outside the 32-bit range are clamped to its ends (and NaN gives 0).
int32_t RoundToI32(double value);

// A 16-bit field from a number: rounded like RoundToI32, clamped to 16 bits.
int16_t RoundToI16(double value);

} // namespace kestrum
