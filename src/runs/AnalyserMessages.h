#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace kestrum {

// One message the analyser wrote to standard error: its first line after
// "analog: " with the continuation lines (the analyser wraps at about 80
// columns) joined by blanks.
struct AnalyserMessage {
  QChar warningClass; // 'C', 'D', 'F', ... for "Warning X:", else null
  QString text;
  // A warning known to be harmless for the commands Kestrum writes (see
  // docs/analyser-compatibility.md).
  bool harmless = false;

  // Classes C and D are about the configuration.
  bool isConfigurationWarning() const {
    return warningClass == QLatin1Char('C') || warningClass == QLatin1Char('D');
  }
};

// Splits the analyser's standard error into its messages.
QList<AnalyserMessage> ParseAnalyserMessages(const QString &errorOutput);

// The configuration warnings among them that are not known to be harmless.
QList<AnalyserMessage> ConfigurationProblems(const QList<AnalyserMessage> &messages);

// The file of the program folder that keeps what a hidden analyser run
// wrote to standard error, replaced by every run.
inline constexpr const char *kAnalyserMessagesFile = "analog-messages.txt";

// The messages of the last hidden run (none when there is no such file).
QList<AnalyserMessage> LastRunMessages(const QString &programDir);

// "2 configuration warnings" and the like; empty for none.
QString ConfigurationWarningCount(qsizetype warnings);

} // namespace kestrum
