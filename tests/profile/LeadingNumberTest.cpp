#include "profile/LeadingNumber.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kestrum;

namespace {

struct NumberCase {
  const char *text;
  int32_t i32;
};

// What a number box stores for what the user typed.
const NumberCase kCases[] = {
    {"", 0},
    {"abc", 0},
    {"12abc", 12},
    {"2.5", 2},
    {"3.5", 4},
    {"-2.5", -2},
    {"-3.5", -4},
    {"0.5", 0},
    {"1.5", 2},
    {" 1 2 3", 123},
    {"\t-\n4 2", -42},
    {"+7", 7},
    {"1e3", 1000},
    {"1D2", 100},
    {"2.5e1x", 25},
    {"1e", 1},
    {".5", 0},
    {".51", 1},
    {"-", 0},
    {"&H10", 16},
    {"&HFFFF", -1},
    {"&h7fffffff", 2147483647},
    {"&O17", 15},
    {"&Hz", 0},
    {"12,5", 12},
    {"99999999999", std::numeric_limits<int32_t>::max()},
    {"-99999999999", std::numeric_limits<int32_t>::min()},
    {"1e400", std::numeric_limits<int32_t>::max()},
    {"1e-400", 0},
};

TEST(LeadingNumber, ConvertsTextTheWayNumberBoxesDo) {
  for (const NumberCase &c : kCases)
    EXPECT_EQ(RoundToI32(LeadingNumber(QString::fromUtf8(c.text))), c.i32) << '"' << c.text << '"';
}

TEST(LeadingNumber, SixteenBitFieldsClampToTheirRange) {
  EXPECT_EQ(RoundToI16(LeadingNumber(QStringLiteral("-1"))), -1);
  EXPECT_EQ(RoundToI16(LeadingNumber(QStringLiteral("70000"))), 32767);
  EXPECT_EQ(RoundToI16(LeadingNumber(QStringLiteral("-70000"))), -32768);
}

} // namespace
