#pragma once

#include "Settings.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QLineEdit;

namespace kestrum {

class Messages;

// The text of "Maximum number of latest files:" as a number: a whole
// number from 0 to 2147483647, blanks around it allowed; nothing otherwise.
std::optional<int32_t> ParseMaxRecentFiles(const QString &text);

// frmOptions: four of the application settings, changed in memory.
class OptionsDialog : public QDialog {
  Q_OBJECT
public:
  OptionsDialog(ApplicationOptions &options, Messages &messages, QWidget *parent = nullptr);

  // DummyC(0) announce, DummyC(1) New/Open at start-up, DummyC(2) ask to save.
  QCheckBox *DummyC(int index) const { return boxes_[index]; }
  QLineEdit *DummyT() const { return maxRecent_; }

  // Stores the settings and closes; a text that is not a whole number is
  // refused with a message and the dialog stays open.
  void OKBut_Click();

private:
  ApplicationOptions &options_;
  Messages &messages_;
  QCheckBox *boxes_[3];
  QLineEdit *maxRecent_;
};

} // namespace kestrum
