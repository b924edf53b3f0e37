#include "NewOpenChoice.h"

#include "Document.h"
#include "platform/Messages.h"

#include <QDir>
#include <QFileInfo>

namespace kestrum {
namespace {

const QString kPickCaption = QStringLiteral("open existing profile");

bool isFile(const QString &path) {
  return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

NewOpenChoice::NewOpenChoice(ProgramGlobals &globals, Messages &messages, FileDialogs &dialogs,
                             FileDialogSpec openDialog)
    : g_(globals), messages_(messages), dialogs_(dialogs), openDialog_(std::move(openDialog)),
      pickCaption_(kPickCaption) {
  FillLastOpened();
  QDir folder(TemplateFolder());
  templates_ = folder.entryList({QStringLiteral("*.Kestrum")}, QDir::Files | QDir::CaseSensitive,
                                QDir::Name);
}

QString NewOpenChoice::TemplateFolder() const {
  return g_.ProgramDir + QStringLiteral("Template");
}

QString NewOpenChoice::DefaultTemplate() const {
  return g_.ProgramDir + QStringLiteral("Template/Default.Kestrum");
}

void NewOpenChoice::FillLastOpened() {
  lastOpened_.clear();
  for (const RecentFile &entry : g_.Settings.RecentFiles) {
    if (entry.Path.isEmpty())
      break;
    lastOpened_ << entry.Name;
  }
  lastRow_ = -1;
}

NewOpenChoice::Outcome NewOpenChoice::SelectOption(int option) {
  if (option == LastOpenedOption && !LastOpenedEnabled())
    return Outcome::StayOpen;
  option_ = option;
  switch (option) {
  case TemplateOption:
    if (templateRow_ < 0 && !templates_.isEmpty())
      templateRow_ = 0;
    break;
  case LastOpenedOption:
    if (lastRow_ < 0)
      lastRow_ = 0;
    break;
  case PickOption: {
    const QString chosen = dialogs_.Ask(openDialog_, g_.Settings.Options.LastDir);
    if (!chosen.isEmpty()) {
      const QString name = QFileInfo(chosen).fileName();
      DoSetLastDir(g_.Settings, chosen, name);
      g_.CurrentProfilePath = chosen;
      pickCaption_ = QStringLiteral("open \"%1\"").arg(name);
    }
    if (!isFile(g_.CurrentProfilePath) || chosen.isEmpty()) {
      messages_.show(QStringLiteral("Please select a file or choose new default profile"),
                     MessageIcon::Information, QStringLiteral("Kestrum"));
      g_.CurrentProfilePath = DefaultTemplate();
      pickCaption_ = QStringLiteral("open ...");
      return Outcome::StayOpen;
    }
    return Outcome::Close; // the picked file is the result, without OK
  }
  default: break;
  }
  return Outcome::StayOpen;
}

NewOpenChoice::Outcome NewOpenChoice::SelectTemplate(int row) {
  if (row >= 0 && row < templates_.size())
    templateRow_ = row;
  return SelectOption(TemplateOption);
}

NewOpenChoice::Outcome NewOpenChoice::SelectLastOpened(int row) {
  if (row >= 0 && row < lastOpened_.size())
    lastRow_ = row;
  return SelectOption(LastOpenedOption);
}

NewOpenChoice::Outcome NewOpenChoice::Ok() {
  switch (option_) {
  case TemplateOption:
    g_.CurrentProfilePath = TemplateFolder() + QLatin1Char('/') + templates_.value(templateRow_);
    break;
  case LastOpenedOption: {
    if (lastRow_ < 0 || lastRow_ >= lastOpened_.size()) {
      messages_.show(QStringLiteral("Please select a profile in the list of last opened files."),
                     MessageIcon::Information, QStringLiteral("Kestrum"));
      return Outcome::StayOpen;
    }
    const QString path = g_.Settings.RecentFiles[size_t(lastRow_)].Path;
    if (!isFile(path)) {
      if (messages_.show(VanishedFileQuestion(), MessageIcon::Information,
                         QStringLiteral("Warning"), MessageButtons::YesNo) == MessageAnswer::Yes) {
        RemoveRecentFile(g_.Settings, lastRow_);
        FillLastOpened();
      }
      return Outcome::StayOpen;
    }
    g_.CurrentProfilePath = path;
    break;
  }
  case PickOption: break; // the option's own pick set the path
  default: g_.CurrentProfilePath = DefaultTemplate(); break;
  }
  if (isFile(g_.CurrentProfilePath))
    return Outcome::Close;
  messages_.show(
      QStringLiteral("There happened an error with your selection, please select something else"),
      MessageIcon::Information, QStringLiteral("Error"));
  return Outcome::StayOpen;
}

void NewOpenChoice::Cancel() {
  if (g_.CurrentProfilePath.isEmpty())
    g_.CurrentProfilePath = DefaultTemplate();
}

void NewOpenChoice::SetDontShow(bool checked) {
  g_.Settings.Options.ShowNewOpenAtStartup = checked ? kFalse16 : kTrue16;
}

} // namespace kestrum
