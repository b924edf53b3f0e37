// Resolver parameters are split the way Windows programs read their command
// line, and never handed to a shell.

#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(SplitWindowsArguments, FollowsTheWindowsQuotingRules) {
  const struct {
    const char *parameters;
    QStringList args;
  } cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"/G analog.cfg /T 8", {"/G", "analog.cfg", "/T", "8"}},
      {"  spaced   out\targs ", {"spaced", "out", "args"}},
      {"\"two words\" plain", {"two words", "plain"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"\"", {""}},
      {"x \"\" y", {"x", "", "y"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"C:\\dir\\file.log", {"C:\\dir\\file.log"}},
      {"\\\\\"quoted\\\\\"", {"\\quoted\\"}},
      {"\\\"literal\\\"", {"\"literal\""}},
      {"trailing\\\\", {"trailing\\\\"}},
      {"$(rm -rf x); `id` | > <", {"$(rm", "-rf", "x);", "`id`", "|", ">", "<"}},
      {"\"unterminated quote", {"unterminated quote"}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(SplitWindowsArguments(QString::fromUtf8(c.parameters)), c.args) << c.parameters;
}

} // namespace
} // namespace kestrum
