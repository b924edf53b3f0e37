#pragma once

#include "FileDialogs.h"
#include "Globals.h"

#include <QStringList>

namespace kestrum {

class Messages;

// What the New/Open dialog decides, without its widgets: the four options,
// the Template file list, the "Last opened:" list, OK and Cancel. The
// chosen file is left in CurrentProfilePath for the caller to load.
class NewOpenChoice {
public:
  enum Option { TemplateOption = 0, LastOpenedOption = 1, PickOption = 2, DefaultOption = 3 };
  enum class Outcome { StayOpen, Close };

  NewOpenChoice(ProgramGlobals &globals, Messages &messages, FileDialogs &dialogs,
                FileDialogSpec openDialog);

  // The files matching "*.Kestrum" in the Template folder, by name.
  const QStringList &Templates() const { return templates_; }
  // The names of the used recent files, in list order.
  const QStringList &LastOpened() const { return lastOpened_; }
  bool LastOpenedEnabled() const { return !lastOpened_.isEmpty(); }

  int option() const { return option_; }
  int templateRow() const { return templateRow_; }
  int lastRow() const { return lastRow_; }
  QString pickCaption() const { return pickCaption_; }

  // Selecting an option; option 2 picks a file at once and may close.
  Outcome SelectOption(int option);
  // A click in a list selects its row and its option.
  Outcome SelectTemplate(int row);
  Outcome SelectLastOpened(int row);
  Outcome Ok();
  // Leaves CurrentProfilePath as it was (the default template when empty).
  void Cancel();
  void SetDontShow(bool checked);

  QString TemplateFolder() const;
  QString DefaultTemplate() const;

private:
  void FillLastOpened();

  ProgramGlobals &g_;
  Messages &messages_;
  FileDialogs &dialogs_;
  FileDialogSpec openDialog_;
  QStringList templates_;
  QStringList lastOpened_;
  int option_ = DefaultOption;
  int templateRow_ = -1;
  int lastRow_ = -1;
  QString pickCaption_;
};

} // namespace kestrum
