#include "platform/Ansi.h"

#include <gtest/gtest.h>

using namespace kestrum;

namespace {

TEST(Ansi, EveryByteSurvivesARoundTrip) {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    all.append(char(b));
  const QString text = fromAnsi(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(toAnsi(text), all);
}

TEST(Ansi, MapsTheWindows1252Characters) {
  const struct {
    char16_t unicode;
    unsigned char byte;
  } cases[] = {{u'A', 'A'},    {0x00E9, 0xE9}, {0x20AC, 0x80}, {0x201C, 0x93},
               {0x0178, 0x9F}, {0x0081, 0x81}, {0x00A0, 0xA0}, {0x2122, 0x99}};
  for (const auto &c : cases) {
    EXPECT_EQ(toAnsi(QString(QChar(c.unicode))), QByteArray(1, char(c.byte))) << int(c.unicode);
    EXPECT_EQ(fromAnsi(QByteArray(1, char(c.byte))), QString(QChar(c.unicode))) << int(c.byte);
  }
}

TEST(Ansi, UnrepresentableCharactersBecomeOneQuestionMarkEach) {
  EXPECT_EQ(toAnsi(QStringLiteral("a\u4E2Db\U0001F600c\u0100")), QByteArray("a?b?c?"));
  // A lone surrogate is unrepresentable too, not a crash.
  EXPECT_EQ(toAnsi(QString(QChar(0xD800))), QByteArray("?"));
}

} // namespace
