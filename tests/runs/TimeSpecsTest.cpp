#include "runs/TimeSpecs.h"

#include <gtest/gtest.h>

using namespace kestrum;

namespace {

TEST(TimeSpecs, EachOptionGivesItsFromToLines) {
  const PeriodBoxes typed{QStringLiteral("2026"), QStringLiteral("01"), QStringLiteral("15"),
                          QStringLiteral("26"),   QStringLiteral("2"),  QStringLiteral("")};
  const struct {
    int option;
    const char *specs;
  } cases[] = {
      {0, "FROM 20260115\r\nTO 262"},         {1, "FROM 20260115\r\nTO 262"},
      {2, "FROM -00-00-07\r\nTO -00-00-00"},  {3, "FROM -00-00-30\r\nTO -00-00-00"},
      {4, "FROM -00-00-90\r\nTO -00-00-00"},  {5, "FROM -00-00-180\r\nTO -00-00-00"},
      {6, "FROM -00-00-360\r\nTO -00-00-00"}, {7, ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(TimeSpecsForOption(c.option, typed), QString::fromLatin1(c.specs)) << c.option;
}

TEST(TimeSpecs, EmptyAndRelativeBoxesPassThroughUnchanged) {
  EXPECT_EQ(TimeSpecsForOption(0, {}), QStringLiteral("FROM \r\nTO "));
  const QString m00 = QStringLiteral("-00");
  EXPECT_EQ(TimeSpecsForOption(1, {m00, m00, QStringLiteral("-30"), m00, m00, m00}),
            TimeSpecsForOption(3, {}));
}

TEST(TimeSpecs, OtherOptionsLeaveTimeSpecsAlone) {
  for (int option : {-1, 8, 100})
    EXPECT_FALSE(TimeSpecsForOption(option, {}).has_value()) << option;
}

} // namespace
