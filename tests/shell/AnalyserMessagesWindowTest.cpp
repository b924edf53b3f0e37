// The "Analyser messages" window's text: the kept messages with the
// configuration warnings marked, or a word on why there are none.

#include "shell/AnalyserMessagesWindow.h"
#include "ShellFixture.h"
#include "TestFiles.h"
#include "runs/AnalyserMessages.h"

namespace kestrum::testing {
namespace {

TEST(AnalyserMessagesWindow, MarksConfigurationWarningsOrSaysWhyThereAreNone) {
  QTemporaryDir dir;
  const QString programDir = dir.path() + QLatin1Char('/');
  EXPECT_TRUE(
      AnalyserMessagesWindow::MessagesText(programDir).contains(QLatin1String("left no messages")));

  test::writeAll(programDir + QLatin1String(kAnalyserMessagesFile),
                 "analog: Analog CE version 6.0.17/Unix\n"
                 "analog: Warning C: Bad argument in configuration command: ignoring it:\n"
                 "  LANGUAGE GREEK\n"
                 "analog: Warning C: Character i not used in REPORTORDER: adding it at end\n"
                 "analog: Warning R: Turning off empty Failure Report\n");
  const QString text = AnalyserMessagesWindow::MessagesText(programDir);
  EXPECT_TRUE(text.contains(QLatin1String(
      "! configuration: Warning C: Bad argument in configuration command: ignoring it: "
      "LANGUAGE GREEK")))
      << qPrintable(text);
  EXPECT_TRUE(text.contains(QLatin1String("(harmless) Warning C: Character i")));
  EXPECT_TRUE(text.contains(QLatin1String("  Warning R: Turning off empty Failure Report")));
  AnalyserMessagesWindow window(programDir);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Analyser messages"));
}

} // namespace
} // namespace kestrum::testing
