#pragma once

#include "Settings.h"
#include "TipList.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace kestrum {

// frmTip: one tip of the file at a time, "Next Tip", and the switch for
// showing the dialog at start-up.
class TipOfDayDialog : public QDialog {
  Q_OBJECT
public:
  TipOfDayDialog(TipList &tips, ApplicationOptions &options, const QString &programDir,
                 QWidget *parent = nullptr);

  QString tipText() const;
  QCheckBox *chkLoadTipsAtStartup() const { return showAtStartup_; }
  void cmdNextTip_Click();

private:
  void DisplayCurrentTip();

  TipList &tips_;
  QCheckBox *showAtStartup_;
  QLabel *lblTipText_;
};

} // namespace kestrum
