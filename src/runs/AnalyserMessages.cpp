#include "AnalyserMessages.h"

#include "platform/FileIO.h"

#include <QRegularExpression>

namespace kestrum {
namespace {

// The analyser starts its lines with the name it was called by
// ("analog: ", "/usr/bin/analog: ").
const QRegularExpression kStart(QStringLiteral("^\\S*analog: "));
const QRegularExpression kContinued(QStringLiteral("^\\S*analog: \\.\\.\\.cont\\.\\.:"));

// analog 6 knows more reports than the letters Kestrum writes in
// REPORTORDER; it adds the missing ones (off anyway) at the end.
bool isHarmless(const QString &text) {
  static const QRegularExpression reportOrder(
      QStringLiteral("^Warning C: Character . not used in REPORTORDER"));
  return reportOrder.match(text).hasMatch();
}

AnalyserMessage finished(AnalyserMessage message) {
  static const QRegularExpression warning(QStringLiteral("^Warning ([A-Z]):"));
  if (const auto m = warning.match(message.text); m.hasMatch())
    message.warningClass = m.captured(1).at(0);
  message.harmless = isHarmless(message.text);
  return message;
}

} // namespace

QList<AnalyserMessage> ParseAnalyserMessages(const QString &errorOutput) {
  QList<AnalyserMessage> messages;
  AnalyserMessage current;
  bool open = false;
  for (QString line : errorOutput.split(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    const auto continued = kContinued.match(line);
    if (continued.hasMatch() || (open && line.startsWith(QLatin1Char(' ')))) {
      const QString rest = line.mid(continued.capturedLength()).trimmed();
      if (!rest.startsWith(QLatin1String("(For help on all errors"))) // said once per run
        current.text += QLatin1Char(' ') + rest; // the analyser wraps long lines
      continue;
    }
    if (open)
      messages.append(finished(current));
    const auto start = kStart.match(line);
    open = start.hasMatch();
    current = AnalyserMessage{};
    if (open)
      current.text = line.mid(start.capturedLength());
    else if (!line.trimmed().isEmpty()) {
      current.text = line.trimmed(); // not the analyser's form: kept as it is
      messages.append(finished(current));
    }
  }
  if (open)
    messages.append(finished(current));
  return messages;
}

QList<AnalyserMessage> ConfigurationProblems(const QList<AnalyserMessage> &messages) {
  QList<AnalyserMessage> problems;
  for (const AnalyserMessage &m : messages)
    if (m.isConfigurationWarning() && !m.harmless)
      problems.append(m);
  return problems;
}

QList<AnalyserMessage> LastRunMessages(const QString &programDir) {
  QByteArray bytes;
  if (!readSmallFile(programDir + QLatin1String(kAnalyserMessagesFile), 4 << 20, bytes).ok())
    return {};
  return ParseAnalyserMessages(QString::fromLocal8Bit(bytes));
}

QString ConfigurationWarningCount(qsizetype n) {
  if (n == 0)
    return {};
  return n == 1 ? QStringLiteral("1 configuration warning")
                : QStringLiteral("%1 configuration warnings").arg(n);
}

} // namespace kestrum
