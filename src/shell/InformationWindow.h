#pragma once

#include <QDialog>

namespace kestrum {

// "Information": a read-only help text on the analyser's inclusion and
// exclusion commands with an OK button that closes it. Shown not modal.
class InformationWindow : public QDialog {
  Q_OBJECT
public:
  explicit InformationWindow(QWidget *parent = nullptr);
  static QString HelpText();
};

} // namespace kestrum
