#pragma once

#include "TipList.h"

#include <QPointer>

class QWidget;

namespace kestrum {

class FileDialogs;
class Messages;
class TipOfDayDialog;
class TipsAndTricksWindow;
struct FileDialogSpec;
struct ProgramGlobals;

// The dialogs the main window and the start-up open. The program shows the
// real windows; tests pass a recording fake, so no test waits for a modal
// dialog.
class ShellWindows {
public:
  virtual ~ShellWindows() = default;
  // The New/Open dialog, modal: true when a file was chosen (left in
  // CurrentProfilePath), false on Cancel.
  virtual bool NewOpen(const FileDialogSpec &openDialog) = 0;
  virtual void Options() = 0;            // modal
  virtual void About() = 0;              // modal
  virtual void TipOfDay(bool modal) = 0; // modal at start-up, else not
  virtual void TipsAndTricks() = 0;      // not modal
};

class QtShellWindows : public ShellWindows {
public:
  QtShellWindows(QWidget *parent, ProgramGlobals &globals, Messages &messages,
                 FileDialogs &dialogs);
  ~QtShellWindows() override;
  bool NewOpen(const FileDialogSpec &openDialog) override;
  void Options() override;
  void About() override;
  void TipOfDay(bool modal) override;
  void TipsAndTricks() override;

private:
  QWidget *parent_;
  ProgramGlobals &g_;
  Messages &messages_;
  FileDialogs &dialogs_;
  TipList tips_; // the tip position lasts for the whole run
  QPointer<TipOfDayDialog> tipOfDay_;
  QPointer<TipsAndTricksWindow> tipsAndTricks_;
};

} // namespace kestrum
