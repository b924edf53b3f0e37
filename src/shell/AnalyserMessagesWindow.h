#pragma once

#include <QDialog>

namespace kestrum {

// "Analyser messages": what the analyser wrote to standard error on its last
// hidden run, configuration warnings marked, so that no warning goes unseen.
// Shown not modal.
class AnalyserMessagesWindow : public QDialog {
  Q_OBJECT
public:
  explicit AnalyserMessagesWindow(const QString &programDir, QWidget *parent = nullptr);
  // The window's text for the messages kept in programDir.
  static QString MessagesText(const QString &programDir);
};

} // namespace kestrum
