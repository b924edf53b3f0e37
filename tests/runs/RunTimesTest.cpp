// The elapsed-time text of the status bar and the clock difference behind it.

#include "runs/RunPipeline.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(FormatElapsed, WritesMinutesAndSecondsWithTheSignPlace) {
  const struct {
    int32_t seconds;
    const char *text;
  } cases[] = {
      {0, " 0 min  0 sec"},         {5, " 0 min  5 sec"},   {59, " 0 min  59 sec"},
      {60, " 1 min  0 sec"},        {125, " 2 min  5 sec"}, {3725, " 62 min  5 sec"},
      {86399, " 1439 min  59 sec"}, {-5, "-1 min -5 sec"},  {-65, "-2 min -5 sec"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(FormatElapsed(c.seconds).toStdString(), c.text) << c.seconds;
}

TEST(ElapsedSince, RoundsHalvesToEvenAndCountsAcrossMidnight) {
  const struct {
    int32_t start;
    double now;
    int32_t elapsed;
  } cases[] = {
      {100, 100.0, 0},  {100, 102.5, 2}, {100, 103.5, 4},     {100, 99.5, 0},  {100, 99.6, 0},
      {100, 160.4, 60}, {86399, 1.0, 2}, {86000, 399.0, 799}, {86400, 0.2, 0}, // a start rounded up
                                                                               // to midnight itself
  };
  for (const auto &c : cases)
    EXPECT_EQ(ElapsedSince(c.start, c.now), c.elapsed) << c.start << " " << c.now;
}

} // namespace
} // namespace kestrum
