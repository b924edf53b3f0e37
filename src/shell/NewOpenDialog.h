#pragma once

#include "NewOpenChoice.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QListWidget;
class QRadioButton;

namespace kestrum {

// frmNewOpen: where the user picks the profile to work on. Accepted when a
// file was chosen (left in CurrentProfilePath), rejected on Cancel.
class NewOpenDialog : public QDialog {
  Q_OBJECT
public:
  NewOpenDialog(NewOpenChoice &choice, QWidget *parent = nullptr);

  QRadioButton *OType(int index) const;
  QListWidget *Templates() const { return templates_; }
  QListWidget *ListLast() const { return listLast_; }
  QCheckBox *DontShow() const { return dontShow_; }

  void ButOK_Click();
  void ButExit_Click();
  void reject() override;

private:
  void Apply(NewOpenChoice::Outcome outcome);
  void Refresh();

  NewOpenChoice &choice_;
  QButtonGroup *options_;
  QListWidget *templates_;
  QListWidget *listLast_;
  QCheckBox *dontShow_;
};

} // namespace kestrum
