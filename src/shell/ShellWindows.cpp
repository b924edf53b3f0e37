#include "ShellWindows.h"

#include "AboutBox.h"
#include "Globals.h"
#include "NewOpenChoice.h"
#include "NewOpenDialog.h"
#include "OptionsDialog.h"
#include "TipOfDayDialog.h"
#include "TipsAndTricksWindow.h"
#include "platform/SysInfo.h"

namespace kestrum {

QtShellWindows::QtShellWindows(QWidget *parent, ProgramGlobals &globals, Messages &messages,
                               FileDialogs &dialogs)
    : parent_(parent), g_(globals), messages_(messages), dialogs_(dialogs) {}

QtShellWindows::~QtShellWindows() = default;

bool QtShellWindows::NewOpen(const FileDialogSpec &openDialog) {
  NewOpenChoice choice(g_, messages_, dialogs_, openDialog);
  NewOpenDialog dialog(choice, parent_);
  return dialog.exec() == QDialog::Accepted;
}

void QtShellWindows::Options() {
  OptionsDialog dialog(g_.Settings.Options, messages_, parent_);
  dialog.exec();
}

void QtShellWindows::About() {
  AboutBox box(messages_, StartProgramDetached, parent_);
  box.exec();
}

void QtShellWindows::TipOfDay(bool modal) {
  if (modal) {
    TipOfDayDialog dialog(tips_, g_.Settings.Options, g_.ProgramDir, parent_);
    dialog.exec();
    return;
  }
  // Opening it again reads the tips file again, as a new dialog would.
  if (tipOfDay_)
    tipOfDay_->close();
  tipOfDay_ = new TipOfDayDialog(tips_, g_.Settings.Options, g_.ProgramDir, parent_);
  tipOfDay_->setAttribute(Qt::WA_DeleteOnClose);
  tipOfDay_->show();
}

void QtShellWindows::TipsAndTricks() {
  if (!tipsAndTricks_) {
    tipsAndTricks_ = new TipsAndTricksWindow(parent_);
    tipsAndTricks_->setAttribute(Qt::WA_DeleteOnClose);
  }
  tipsAndTricks_->show();
  tipsAndTricks_->raise();
}

} // namespace kestrum
