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
      {0, "FROM 260115\r\nTO 262"},           {1, "FROM 260115\r\nTO 262"},
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

// The analyser reads yyMMdd: a four-digit year keeps its last two digits,
// every other year box stays as typed.
TEST(TimeSpecs, YearBoxesReachTheAnalyserAsTwoDigits) {
  const struct {
    const char *from;
    const char *to;
    const char *specs;
  } cases[] = {
      {"2026", "1999", "FROM 260101\r\nTO 990101"},
      {"26", "7", "FROM 260101\r\nTO 70101"},
      {"-01", "+0", "FROM -010101\r\nTO +00101"},
      {"12026", "", "FROM 120260101\r\nTO 0101"},
  };
  for (const auto &c : cases) {
    const PeriodBoxes boxes{QLatin1String(c.from), QStringLiteral("01"), QStringLiteral("01"),
                            QLatin1String(c.to),   QStringLiteral("01"), QStringLiteral("01")};
    EXPECT_EQ(TimeSpecsForOption(0, boxes), QString::fromLatin1(c.specs)) << c.from;
  }
}

TEST(TimeSpecs, BoxesThatAreNoNumberAreNamed) {
  EXPECT_EQ(PeriodBoxesProblem({}), QString());
  EXPECT_EQ(PeriodBoxesProblem({"2026", "-01", "+3", "", "09", "31"}), QString());
  for (const char *bad : {"2o26", "12.5", "1 2", "--1", "x"}) {
    const QString problem = PeriodBoxesProblem({"26", "01", "01", "26", QLatin1String(bad), "01"});
    EXPECT_TRUE(problem.contains(QLatin1String(bad))) << bad << qPrintable(problem);
  }
}

TEST(TimeSpecs, OtherOptionsLeaveTimeSpecsAlone) {
  for (int option : {-1, 8, 100})
    EXPECT_FALSE(TimeSpecsForOption(option, {}).has_value()) << option;
}

} // namespace
