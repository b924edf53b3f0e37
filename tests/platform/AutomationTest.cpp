#include "platform/Automation.h"

#include <gtest/gtest.h>

using namespace kestrum;

TEST(Variant, ConvertsByTheAutomationRules) {
  struct Case {
    Variant from;
    VarType to;
    int error;
    Variant expected;
  };
  const Case cases[] = {
      {Variant("42"), VarType::I32, 0, Variant(int32_t(42))},
      {Variant(" -7 "), VarType::I32, 0, Variant(int32_t(-7))},
      {Variant("2.5"), VarType::I32, 0, Variant(int32_t(2))}, // halves to even
      {Variant("3.5"), VarType::I32, 0, Variant(int32_t(4))},
      {Variant("&H8000000F"), VarType::I32, 0, Variant(int32_t(-2147483633))},
      {Variant("&HFFFF"), VarType::I32, 0, Variant(int32_t(-1))}, // four digits: a 16-bit value
      {Variant("abc"), VarType::I32, 13, Variant()},
      {Variant(""), VarType::I32, 13, Variant()},
      {Variant("2147483648"), VarType::I32, 6, Variant()},
      {Variant(1e10), VarType::I32, 6, Variant()},
      {Variant("True"), VarType::Bool, 0, Variant(true)},
      {Variant("false"), VarType::Bool, 0, Variant(false)},
      {Variant("-1"), VarType::Bool, 0, Variant(true)},
      {Variant("0"), VarType::Bool, 0, Variant(false)},
      {Variant("yes"), VarType::Bool, 13, Variant()},
      {Variant(true), VarType::I32, 0, Variant(int32_t(-1))},
      {Variant(true), VarType::String, 0, Variant("True")},
      {Variant(int32_t(5)), VarType::String, 0, Variant("5")},
      {Variant("270553174016.5"), VarType::Currency, 0, Variant(Currency{2705531740165000})},
      {Variant("-0.25"), VarType::Currency, 0, Variant(Currency{-2500})},
      {Variant(Currency{123456}), VarType::String, 0, Variant("12.3456")},
      {Variant(Currency{-10000}), VarType::String, 0, Variant("-1")},
      {Variant("&H8000000F"), VarType::Color, 0, Variant(OleColor{0x8000000F})},
      {Variant(), VarType::Picture, 0, Variant(PicturePtr())},
      {Variant("x"), VarType::Picture, 13, Variant()},
      {Variant(), VarType::String, 0, Variant("")},
      {Variant(), VarType::I32, 0, Variant(int32_t(0))},
  };
  for (const Case &c : cases) {
    Variant out;
    const int error = c.from.convertTo(c.to, out);
    EXPECT_EQ(error, c.error) << c.from.toDisplayString().toStdString() << " -> "
                              << varTypeName(c.to);
    if (!c.error && !error) {
      EXPECT_TRUE(out == c.expected) << c.from.toDisplayString().toStdString() << " gave "
                                     << out.toDisplayString().toStdString();
    }
  }
}

TEST(Variant, DisplaysAsTheContainerPrints) {
  auto picture = std::make_shared<Picture>();
  picture->width = 32;
  picture->height = 16;
  EXPECT_EQ(Variant(PicturePtr(picture)).toDisplayString(), QStringLiteral("picture 32x16"));
  EXPECT_EQ(Variant(PicturePtr()).toDisplayString(), QStringLiteral("picture 0x0"));
  EXPECT_EQ(Variant(false).toDisplayString(), QStringLiteral("False"));
  EXPECT_EQ(Variant(Currency::fromWhole(270553174016)).toDisplayString(),
            QStringLiteral("270553174016"));
  EXPECT_EQ(Variant(OleColor{0x8000000F}).toDisplayString(), QStringLiteral("-2147483633"));

  // Doubles print every digit: a binary string of fifty ones is 2^50 - 1.
  const std::pair<double, const char *> doubles[] = {
      {5, "5"},
      {1125899906842623.0, "1125899906842623"},
      {-1e20, "-100000000000000000000"},
      {0.5, "0.5"},
      {0.1, "0.1"},
      {1e-300, "1e-300"},
      {-0.0, "0"},
  };
  for (const auto &[value, text] : doubles)
    EXPECT_EQ(Variant(value).toDisplayString(), QString::fromLatin1(text)) << value;
}

TEST(PropertyBag, KeysIgnoreCaseAndDefaultsAreLeftOut) {
  PropertyBag bag;
  bag.WriteProperty(QStringLiteral("DriveCurrent"), Variant("D"), Variant("C"));
  bag.WriteProperty(QStringLiteral("TasksCurrent"), Variant(int32_t(0)), Variant(int32_t(0)));
  EXPECT_EQ(bag.keys(), QStringList{QStringLiteral("DriveCurrent")});
  EXPECT_TRUE(bag.ReadProperty(QStringLiteral("drivecurrent"), Variant("C")) == Variant("D"));
  EXPECT_TRUE(bag.ReadProperty(QStringLiteral("Missing"), Variant(int32_t(3))) ==
              Variant(int32_t(3)));
  // Writing the default again removes a stored value.
  bag.WriteProperty(QStringLiteral("DRIVECURRENT"), Variant("C"), Variant("C"));
  EXPECT_TRUE(bag.keys().isEmpty());
}

TEST(PropertyBag, TextRoundTripKeepsEveryType) {
  auto picture = std::make_shared<Picture>();
  picture->width = 2;
  picture->height = 1;
  picture->argb = {0xFF102030u, 0x00000000u};
  PropertyBag bag;
  const std::pair<const char *, Variant> values[] = {
      {"Text", Variant(QStringLiteral("line1\nline2\\ \t\u00e9 = x"))},
      {"Number", Variant(int32_t(-2147483647 - 1))},
      {"Flag", Variant(true)},
      {"Money", Variant(Currency{-123456789012345})},
      {"Colour", Variant(OleColor{0x8000000F})},
      {"Icon", Variant(PicturePtr(picture))},
      {"NoIcon", Variant(PicturePtr())},
      {"Real", Variant(0.1)},
  };
  for (const auto &[name, value] : values)
    bag.WriteProperty(QString::fromLatin1(name), value, Variant());
  const PropertyBag back = PropertyBag::fromText(bag.toText());
  EXPECT_EQ(back.keys(), bag.keys());
  for (const auto &[name, value] : values)
    EXPECT_TRUE(back.ReadProperty(QString::fromLatin1(name), Variant()) == value) << name;
}

TEST(PropertyBag, DamagedTextSkipsBadLines) {
  const QByteArray text = "good=i:5\n"
                          "noequals\n"
                          "=s:nameless\n"
                          "wrongtype=q:1\n"
                          "badnumber=i:12x\n"
                          "badpicture=p:99999x99999:AAAA\n"
                          "shortpicture=p:2x2:AAAA\n"
                          "trailing=s:ends in backslash \\\n"
                          "crlf=s:x\r\n";
  const PropertyBag bag = PropertyBag::fromText(text);
  EXPECT_EQ(bag.keys(), (QStringList{QStringLiteral("good"), QStringLiteral("trailing"),
                                     QStringLiteral("crlf")}));
  EXPECT_TRUE(bag.ReadProperty(QStringLiteral("crlf"), Variant()) == Variant("x"));
}

TEST(Guid, FormatsAndParses) {
  const Guid clsid{0x8F07F85D, 0x6532, 0x11D2, {0xBE, 0xBB, 0x90, 0x09, 0x62, 0xC1, 0x00, 0x00}};
  EXPECT_EQ(guidToString(clsid), QStringLiteral("{8F07F85D-6532-11D2-BEBB-900962C10000}"));
  Guid parsed;
  ASSERT_TRUE(parseGuid(QStringLiteral("8f07f85d-6532-11d2-bebb-900962c10000"), parsed));
  EXPECT_TRUE(parsed == clsid);
  for (const char *bad :
       {"", "{}", "{8F07F85D-6532-11D2-BEBB-900962C1000}", "{8F07F85D-6532-11D2-BEBB-900962C1000G}",
        "8F07F85D6532-11D2-BEBB-900962C10000-"})
    EXPECT_FALSE(parseGuid(QString::fromLatin1(bad), parsed)) << bad;
}

TEST(CreateControl, UnregisteredProgIdFailsWithAReason) {
  qputenv("KESTRUM_REGISTRY", "/nonexistent/registry");
  QString why;
  EXPECT_EQ(CreateControl(QStringLiteral("No.Such"), &why), nullptr);
  EXPECT_FALSE(why.isEmpty());
  qunsetenv("KESTRUM_REGISTRY");
}
