#pragma once

#include "FileDialogs.h"
#include "Globals.h"
#include "platform/Result.h"
#include "profile/Profile.h"

namespace kestrum {

class Messages;

// What the document needs from the window that shows it.
class DocumentView {
public:
  virtual ~DocumentView() = default;
  // Copies the window's controls into profile (false) or profile into them.
  virtual void ReadWriteWindow(Profile &profile, bool toWindow) = 0;
  // A profile was loaded: refill the alias and exclusion list boxes.
  virtual void ProfileLoaded() = 0;
  // RecentFiles changed: refresh the File menu's recent entries.
  virtual void UpdateShortCutMenu() = 0;
  virtual void SetTitle(const QString &title) = 0;
  // Shows the New/Open dialog modally; it leaves its choice in
  // CurrentProfilePath (unchanged when cancelled).
  virtual void ShowNewOpen() = 0;
};

// The profile being edited and the File menu's work on it: new, open, save,
// save as, the recent files and exit, each guarded by the change check and
// the save prompt. No widgets: the window, the message boxes and the file
// dialogs are reached through their interfaces.
class Document {
public:
  Document(ProgramGlobals &globals, DocumentView &view, Messages &messages, FileDialogs &dialogs);

  Profile &profile() { return profile_; }
  const Profile &SavedProfile() const { return savedProfile_; }
  const FileDialogSpec &OpenDialog() const { return openDialog_; }
  const FileDialogSpec &SaveDialog() const { return saveDialog_; }
  const FileDialogSpec &ImportDialog() const { return importDialog_; }

  // True when the window's values differ from the profile as last saved or
  // loaded. The whole serialised records are compared, in memory.
  bool CheckForChange();
  // The save prompt before an operation that drops edits; true when the
  // operation must stop: the user cancelled, or the save they asked for
  // failed.
  bool DoSaveChange();

  void mnuFileNew_Click();
  void mnuFileOpen_Click();
  // Imports an analyser command file chosen in a file dialog into a new,
  // unsaved profile made from the default template: the title and Save work
  // as after New, and the change check counts the import as unsaved edits.
  // A summary of what became of the file's lines is shown; a file that
  // cannot be imported changes nothing.
  void mnuFileImport_Click();
  void mnuFileSave_Click();
  void mnuFileSaveAs_Click();
  void mnuFileQuick_Click(int index);
  // The save prompt, then the settings file. True when the program may end;
  // false when the user cancelled, or when the settings could not be
  // written (the second failed Exit in a row ends all the same).
  bool mnuFileExit_Click();

  // Loads path as the current profile. A file that cannot be read (missing,
  // damaged or cut short) changes nothing: the previous profile and path
  // stay and "Could not open file" is shown.
  bool Load(const QString &path);

  // CurrentProfilePath into the profile and the window; the profile stays
  // as it was when the file cannot be read whole.
  Result OpenData();
  // The window into the profile and the profile into CurrentProfilePath.
  Result SaveData();
  void UpdateRecentFiles();

private:
  enum class SaveOutcome { Saved, Cancelled, Failed };
  SaveOutcome Save();
  SaveOutcome SaveAs();
  bool IsTemplate(const QString &path) const;

  ProgramGlobals &g_;
  DocumentView &view_;
  Messages &messages_;
  FileDialogs &dialogs_;
  Profile profile_;
  Profile savedProfile_;
  FileDialogSpec openDialog_;
  FileDialogSpec saveDialog_;
  FileDialogSpec importDialog_;
  bool settingsWriteFailed_ = false;
};

// The question asked before a vanished recent file is removed from the list.
QString VanishedFileQuestion();

} // namespace kestrum
