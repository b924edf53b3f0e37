#include "Document.h"

#include "RecentFiles.h"
#include "platform/Messages.h"
#include "profile/ConfigImport.h"
#include "profile/ProfileFile.h"

#include <QFileInfo>

namespace kestrum {
namespace {

const QString kTitle = QStringLiteral("Kestrum");

void reportSaveFailure(Messages &messages) {
  messages.show(QStringLiteral("Could not save file"), MessageIcon::Exclamation,
                QStringLiteral("Error"));
}

} // namespace

QString VanishedFileQuestion() {
  return QStringLiteral("This file does not seem to exist or is located on a drive/network that "
                        "is not available. Do you want to remove it from the recently used "
                        "files?");
}

Document::Document(ProgramGlobals &globals, DocumentView &view, Messages &messages,
                   FileDialogs &dialogs)
    : g_(globals), view_(view), messages_(messages), dialogs_(dialogs) {
  const QString filter = QStringLiteral("Kestrum Files (*.Kestrum);;All Files (*)");
  openDialog_ = {QStringLiteral("Open Kestrum Files"), filter, QStringLiteral("Kestrum"), false};
  saveDialog_ = {QStringLiteral("Save Kestrum Files"), filter, QStringLiteral("Kestrum"), true};
  importDialog_ = {QStringLiteral("Import analog.cfg"),
                   QStringLiteral("Analog configuration (*.cfg);;All Files (*)"), QString(), false};
}

// ---- Change check and save prompt ----------------------------------------------

bool Document::CheckForChange() {
  view_.ReadWriteWindow(profile_, false);
  QString currentError, savedError;
  const QByteArray current = encodeProfile(profile_, &currentError);
  const QByteArray saved = encodeProfile(savedProfile_, &savedError);
  if (!currentError.isEmpty() || !savedError.isEmpty()) {
    messages_.show(QStringLiteral("Could not check for changes"), MessageIcon::Critical,
                   QStringLiteral("Internal Error"));
    return false;
  }
  return current != saved;
}

bool Document::DoSaveChange() {
  if (!isTrue16(g_.Settings.Options.AskToSave))
    return false;
  if (!CheckForChange())
    return false;
  switch (messages_.show(QStringLiteral("Data Changed - Do you want to save?"),
                         MessageIcon::Question, kTitle, MessageButtons::YesNoCancel)) {
  case MessageAnswer::Cancel: return true;
  case MessageAnswer::Yes:
    // The operation goes on also when the user cancels the Save As dialog;
    // a save that failed stops it, so the edits are not dropped.
    return Save() == SaveOutcome::Failed;
  default: return false;
  }
}

// ---- File menu ------------------------------------------------------------------

void Document::mnuFileNew_Click() {
  if (DoSaveChange())
    return;
  view_.ShowNewOpen();
  // After a cancelled dialog this reloads the current profile from its
  // file: edits that were not saved are dropped.
  Load(g_.CurrentProfilePath);
}

void Document::mnuFileOpen_Click() {
  if (DoSaveChange())
    return;
  const QString chosen = dialogs_.Ask(openDialog_, g_.Settings.Options.LastDir);
  if (chosen.isEmpty())
    return;
  DoSetLastDir(g_.Settings, chosen, QFileInfo(chosen).fileName());
  Load(chosen);
}

// Problems beyond this many are counted, not listed, in the summary box.
constexpr int kListedImportProblems = 15;

void Document::mnuFileImport_Click() {
  if (DoSaveChange())
    return;
  const QString chosen = dialogs_.Ask(importDialog_, g_.Settings.Options.LastDir);
  if (chosen.isEmpty())
    return;
  DoSetLastDir(g_.Settings, chosen, QFileInfo(chosen).fileName());
  const QString templatePath = g_.ProgramDir + QStringLiteral("Template/Default.Kestrum");
  Profile templateProfile;
  bool complete = false;
  if (!ReadProfileFile(templatePath, templateProfile, &complete).ok() || !complete) {
    messages_.show(QStringLiteral("Could not open file"), MessageIcon::Exclamation,
                   QStringLiteral("Error"));
    return;
  }
  Profile imported;
  ImportSummary summary;
  if (Result r = ImportAnalogConfig(chosen, templateProfile, imported, summary); !r.ok()) {
    messages_.show(QStringLiteral("Could not import file\n\n") + r.error, MessageIcon::Exclamation,
                   QStringLiteral("Error"));
    return;
  }
  // As after New: the profile has the template's path, so Save asks for a
  // name; compared with the template, the import is an unsaved change.
  g_.CurrentProfilePath = templatePath;
  profile_ = std::move(imported);
  savedProfile_ = templateProfile;
  view_.ReadWriteWindow(profile_, true);
  view_.ProfileLoaded();
  view_.SetTitle(ProfileWindowTitle(profile_.Settings.ProfileName, g_.CurrentProfilePath));

  QStringList lines = ImportSummaryLines(summary);
  const int problems = int(summary.problems.size());
  if (problems > kListedImportProblems) {
    lines = lines.mid(0, lines.size() - problems + kListedImportProblems);
    lines.append(QStringLiteral("... and %1 more problems").arg(problems - kListedImportProblems));
  }
  messages_.show(QStringLiteral("Imported %1\n\n").arg(QFileInfo(chosen).fileName()) +
                     lines.join(QLatin1Char('\n')),
                 MessageIcon::Information, kTitle);
}

bool Document::IsTemplate(const QString &path) const {
  return path == g_.ProgramDir + QStringLiteral("Template/Default.Kestrum") ||
         path.contains(QStringLiteral("/Template"));
}

// Templates are never overwritten in place: saving one asks for a new file.
// So does a profile that has no file yet.
Document::SaveOutcome Document::Save() {
  if (g_.CurrentProfilePath.isEmpty() || IsTemplate(g_.CurrentProfilePath))
    return SaveAs();
  if (SaveData().ok())
    return SaveOutcome::Saved;
  reportSaveFailure(messages_);
  return SaveOutcome::Failed;
}

Document::SaveOutcome Document::SaveAs() {
  const QString chosen = dialogs_.Ask(saveDialog_, g_.Settings.Options.LastDir);
  if (chosen.isEmpty())
    return SaveOutcome::Cancelled;
  DoSetLastDir(g_.Settings, chosen, QFileInfo(chosen).fileName());
  const QString previous = g_.CurrentProfilePath;
  g_.CurrentProfilePath = chosen;
  if (SaveData().ok())
    return SaveOutcome::Saved;
  // Nothing was saved under the new name: keep editing the old file.
  g_.CurrentProfilePath = previous;
  reportSaveFailure(messages_);
  return SaveOutcome::Failed;
}

void Document::mnuFileSave_Click() {
  Save();
}

void Document::mnuFileSaveAs_Click() {
  SaveAs();
}

void Document::mnuFileQuick_Click(int index) {
  if (index < 0 || index >= kRecentFileCount)
    return;
  const QString path = g_.Settings.RecentFiles[size_t(index)].Path;
  if (!QFileInfo(path).isFile()) {
    if (messages_.show(VanishedFileQuestion(), MessageIcon::Information, QStringLiteral("Warning"),
                       MessageButtons::YesNo) == MessageAnswer::Yes) {
      RemoveRecentFile(g_.Settings, index);
      view_.UpdateShortCutMenu();
    }
    return;
  }
  if (DoSaveChange())
    return;
  DoSetLastDir(g_.Settings, path, QFileInfo(path).fileName());
  Load(path);
}

bool Document::mnuFileExit_Click() {
  if (DoSaveChange())
    return false;
  if (!WriteSettingsFile(g_.SettingsFile, g_.Settings).ok()) {
    reportSaveFailure(messages_);
    // Staying open keeps the recent files and options for another try once
    // the folder is writable again; a second Exit that fails the same way
    // ends the program all the same, so a lasting failure never traps it.
    const bool failedBefore = settingsWriteFailed_;
    settingsWriteFailed_ = true;
    return failedBefore;
  }
  return true;
}

// ---- Load and save ------------------------------------------------------------

bool Document::Load(const QString &path) {
  const QString previous = g_.CurrentProfilePath;
  g_.CurrentProfilePath = path;
  if (OpenData().ok()) {
    view_.ProfileLoaded();
    return true;
  }
  g_.CurrentProfilePath = previous;
  messages_.show(QStringLiteral("Could not open file"), MessageIcon::Exclamation,
                 QStringLiteral("Error"));
  return false;
}

Result Document::OpenData() {
  Profile read;
  bool complete = false;
  if (Result r = ReadProfileFile(g_.CurrentProfilePath, read, &complete); !r.ok())
    return r;
  // A file that ends inside the record is damaged: loading it would leave
  // a half-read profile under the file's name.
  if (!complete)
    return Result::failure(
        QStringLiteral("%1 is not a whole profile file.").arg(g_.CurrentProfilePath));
  profile_ = std::move(read);
  view_.ReadWriteWindow(profile_, true);
  UpdateRecentFiles();
  savedProfile_ = profile_;
  return Result::success();
}

Result Document::SaveData() {
  view_.ReadWriteWindow(profile_, false);
  const Result written = WriteProfileFile(g_.CurrentProfilePath, profile_);
  if (!written.ok())
    return written;
  UpdateRecentFiles();
  savedProfile_ = profile_;
  return written;
}

void Document::UpdateRecentFiles() {
  RecordRecentFile(g_.Settings, profile_.Settings.ProfileName, g_.CurrentProfilePath);
  view_.SetTitle(ProfileWindowTitle(profile_.Settings.ProfileName, g_.CurrentProfilePath));
  view_.UpdateShortCutMenu();
}

} // namespace kestrum
