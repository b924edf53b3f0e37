#pragma once

// Helpers of the control's code module and the number conversions it offers.

#include <QString>

#include <cstdint>

namespace kestrum::tellurix {

// The part of s before its first NUL; s itself when it has none.
QString CutAtNull(const QString &s);

// 1-based position of the last occurrence of the first character of c in s,
// 0 when c is empty or does not occur. Cuts c to its first character.
int32_t LastCharPos(const QString &s, QString &c);

// The characters after the last '/', or all of path when it has none.
QString FileNamePart(const QString &path);

// True when the 32-bit little-endian offset at byte 60 of the file points at
// the two bytes "PE". Never fails: missing files, short files and offsets
// past the end answer false.
bool IsPEImage(const QString &path);

// Binary digits of value, most significant first; "0" for 0 and negative
// numbers. Answers Overflow (6) from 2^30 on, else 0.
int FuncBinToStr(double value, QString &out);
// Digit string read as binary; non-digits count 0, digits 2-9 their face value.
int FuncStrToBin(const QString &text, double &out);
int32_t FuncHiWord(int32_t dword);
int32_t FuncLowWord(int32_t dword);

// Upper-case hexadecimal without prefix or leading zeros.
QString HexId(uint32_t value);

} // namespace kestrum::tellurix
