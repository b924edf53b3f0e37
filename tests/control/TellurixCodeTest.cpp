#include "control/TellurixCode.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace kestrum::tellurix;

TEST(FuncBinToStr, DigitsAndOverflow) {
  struct Case {
    double value;
    int error;
    const char *digits;
  };
  const Case cases[] = {
      {5, 0, "101"},
      {0, 0, "0"},
      {-3, 0, "0"},
      {1, 0, "1"},
      {2.5, 0, "10"}, // two digits, value rounded half to even: 2
      {6.5, 0, "110"},
      {1073741823, 0, "111111111111111111111111111111"}, // 2^30 - 1: thirty ones
      {1073741824, 6, nullptr},                          // 2^30 overflows
      {1e300, 6, nullptr},
      {NAN, 6, nullptr},
  };
  for (const Case &c : cases) {
    QString digits;
    EXPECT_EQ(FuncBinToStr(c.value, digits), c.error) << c.value;
    if (c.digits) {
      EXPECT_EQ(digits, QString::fromLatin1(c.digits)) << c.value;
    }
  }
}

TEST(FuncStrToBin, PlaceValuesOfDigits) {
  const std::pair<const char *, double> cases[] = {
      {"101", 5},
      {"12", 4},
      {"", 0},
      {"1x1", 5},
      {"9", 9},
      {"0001", 1},
      {"111111111111111111111111111111", 1073741823},
  };
  for (const auto &[text, expected] : cases) {
    double value = -1;
    EXPECT_EQ(FuncStrToBin(QString::fromLatin1(text), value), 0) << text;
    EXPECT_EQ(value, expected) << text;
  }
  double value = 0;
  EXPECT_EQ(FuncStrToBin(QString(2000, QLatin1Char('1')), value), 6);
}

TEST(FuncHiLowWord, SignedHalves) {
  struct Case {
    int32_t dword, hi, low;
  };
  const Case cases[] = {
      {-65536, -1, 0}, // upper bits set, lower zero
      {0x1FFFF, 1, -1},
      {0x17FFF, 1, 32767},
      {-1, -1, -1},
      {int32_t(0x80000000), -32768, 0},
      {0x7FFF8000, 32767, -32768},
      {0, 0, 0},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(FuncHiWord(c.dword), c.hi) << c.dword;
    EXPECT_EQ(FuncLowWord(c.dword), c.low) << c.dword;
  }
}

TEST(ModuleHelpers, CutAtNullAndLastCharPos) {
  EXPECT_EQ(CutAtNull(QString::fromLatin1("\0abc", 4)), QString());
  EXPECT_EQ(CutAtNull(QStringLiteral("abc")), QStringLiteral("abc"));
  EXPECT_EQ(CutAtNull(QString::fromLatin1("ab\0c\0", 5)), QStringLiteral("ab"));

  struct Case {
    const char *s, *c;
    int32_t pos;
    const char *cAfter;
  };
  const Case cases[] = {
      {"/a/b.exe", "/", 3, "/"},
      {"/usr/bin/analog", "/x", 9, "/"}, // c is cut to its first character
      {"analog", "/", 0, "/"},
      {"/a/b", "", 0, ""},
      {"", "/", 0, "/"},
  };
  for (const Case &c : cases) {
    QString arg = QString::fromLatin1(c.c);
    EXPECT_EQ(LastCharPos(QString::fromLatin1(c.s), arg), c.pos) << c.s << " " << c.c;
    EXPECT_EQ(arg, QString::fromLatin1(c.cAfter));
  }
  EXPECT_EQ(FileNamePart(QStringLiteral("/tmp/x/Analog")), QStringLiteral("Analog"));
  EXPECT_EQ(FileNamePart(QStringLiteral("Analog")), QStringLiteral("Analog"));
}

TEST(IsPEImage, ReadsTheSignatureWhereTheHeaderPoints) {
  QTemporaryDir dir;
  auto file = [&](const char *name, const QByteArray &bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  };
  auto image = [](uint32_t offset, const QByteArray &at, int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < 4; ++i)
      bytes[60 + i] = char((offset >> (8 * i)) & 0xFF);
    if (offset + at.size() <= uint32_t(size))
      bytes.replace(offset, at.size(), at);
    return bytes;
  };
  struct Case {
    const char *what;
    QString path;
    bool expected;
  };
  const Case cases[] = {
      {"PE at 128", file("pe.exe", image(128, "PE\0\0", 256)), true},
      {"NE at 128", file("ne.exe", image(128, "NE", 256)), false},
      {"offset past the end", file("past.txt", image(100000, "", 256)), false},
      {"offset at the last byte", file("edge.bin", image(255, "P", 256)), false},
      {"offset with the top bit set", file("neg.bin", image(0xFFFFFFF0u, "", 256)), false},
      {"shorter than the header", file("short.txt", "hello"), false},
      {"empty file", file("empty", ""), false},
      {"missing file", dir.filePath(QStringLiteral("missing.exe")), false},
      {"a folder", dir.path(), false},
      {"empty path", QString(), false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(IsPEImage(c.path), c.expected) << c.what;
}

TEST(HexId, UpperCaseWithoutLeadingZeros) {
  EXPECT_EQ(HexId(0), QStringLiteral("0"));
  EXPECT_EQ(HexId(0xA1B), QStringLiteral("A1B"));
  EXPECT_EQ(HexId(0xFFFFFFF0u), QStringLiteral("FFFFFFF0"));
}
