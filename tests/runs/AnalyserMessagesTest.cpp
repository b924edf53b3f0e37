#include "runs/AnalyserMessages.h"

#include <gtest/gtest.h>

using namespace kestrum;

namespace {

// Standard error of Debian's analog 6 (called through the launcher), with its
// wrapped lines and continuation markers.
const char *kAnalogSaid =
    "/usr/bin/analog: Analog CE version 6.0.17/Unix\n"
    "/usr/bin/analog: Warning C: Bad argument in configuration command: ignoring\n"
    "  it:\n"
    "  LANGUAGE GREEK\n"
    "/usr/bin/analog: ...cont..:   (language not yet translated for version 5)\n"
    "  (For help on all errors and warnings, see /usr/share/doc/analog/docs/errors.html)\n"
    "analog: Warning C: Character i not used in REPORTORDER: adding it at end\n"
    "analog: Warning D: LOGFORMAT in configuration file /p/analog.cfg with no\n"
    "  subsequent LOGFILE\n"
    "analog: Warning F: Failed to open logfile ./x.log: ignoring it\n"
    "analog: Warning R: Turning off empty time reports\n";

TEST(AnalyserMessages, SplitsWrappedMessagesAndSortsOutConfigurationProblems) {
  const QList<AnalyserMessage> messages = ParseAnalyserMessages(QString::fromLatin1(kAnalogSaid));
  ASSERT_EQ(messages.size(), 6);
  EXPECT_EQ(messages[0].warningClass, QChar());
  EXPECT_EQ(
      messages[1].text,
      QStringLiteral("Warning C: Bad argument in configuration command: ignoring it: LANGUAGE "
                     "GREEK (language not yet translated for version 5)"));
  EXPECT_TRUE(messages[2].harmless);
  EXPECT_EQ(messages[3].warningClass, QLatin1Char('D'));
  EXPECT_EQ(messages[4].warningClass, QLatin1Char('F'));

  const QList<AnalyserMessage> problems = ConfigurationProblems(messages);
  ASSERT_EQ(problems.size(), 2);
  EXPECT_TRUE(problems[0].text.contains(QLatin1String("LANGUAGE GREEK")));
  EXPECT_TRUE(problems[1].text.startsWith(QLatin1String("Warning D: LOGFORMAT")));
}

TEST(AnalyserMessages, OtherTextIsKeptAndNothingIsLost) {
  const QList<AnalyserMessage> messages =
      ParseAnalyserMessages(QStringLiteral("sh: 1: analog: not found\r\n\r\n  stray indent\n"));
  ASSERT_EQ(messages.size(), 2);
  EXPECT_EQ(messages[0].text, QStringLiteral("sh: 1: analog: not found"));
  EXPECT_EQ(messages[1].text, QStringLiteral("stray indent"));
  EXPECT_TRUE(ParseAnalyserMessages(QString()).isEmpty());
}

} // namespace
