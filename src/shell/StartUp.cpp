#include "StartUp.h"

#include "platform/Messages.h"
#include "platform/ProgramDir.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrum {

QString CommandLine(const QStringList &arguments) {
  return arguments.mid(1).join(QLatin1Char(' '));
}

QString UnquotedPath(QString commandLine) {
  if (commandLine.startsWith(QLatin1Char('"')))
    commandLine.remove(0, 1);
  if (commandLine.endsWith(QLatin1Char('"')))
    commandLine.chop(1);
  return commandLine;
}

QString DocumentsFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir())
    return withTrailingSlash(documents);
  return withTrailingSlash(QDir::homePath());
}

StartUp::StartUp(ProgramGlobals &globals, Messages &messages, std::function<bool()> newOpen,
                 QString commandLine)
    : g_(globals), messages_(messages), newOpen_(std::move(newOpen)),
      commandLine_(std::move(commandLine)) {}

bool StartUp::ChooseFirstProfile() {
  for (;;) {
    g_.StartingUp = true;
    // A damaged settings file gives the defaults; it is replaced at Exit.
    ReadSettingsFile(g_.SettingsFile, g_.Settings);
    if (g_.Settings.Options.LastDir.isEmpty())
      g_.Settings.Options.LastDir = documentsFolder();
    g_.Settings.Options.MaxRecentFiles = 10;
    const QString defaultTemplate = g_.ProgramDir + QStringLiteral("Template/Default.Kestrum");
    g_.CurrentProfilePath = defaultTemplate;
    bool dialogShown = false;
    if (!commandLine_.isEmpty()) {
      g_.CurrentProfilePath = UnquotedPath(commandLine_);
      commandLine_.clear(); // a later pass does not use it again
    } else if (isTrue16(g_.Settings.Options.ShowNewOpenAtStartup) || offerNewOpen_) {
      dialogShown = true;
      if (!newOpen_()) {
        g_.StartingUp = false;
        return false;
      }
    }
    repaint();
    if (QFileInfo(g_.CurrentProfilePath).isFile()) {
      g_.StartingUp = false;
      return true;
    }
    messages_.show(QStringLiteral("File not found - please choose other or default"),
                   MessageIcon::Critical, QStringLiteral("Kestrum"));
    // Without the default template the next pass would fail the same way:
    // the New/Open dialog lets the user choose another file or end.
    if (!dialogShown && g_.CurrentProfilePath == defaultTemplate)
      offerNewOpen_ = true;
  }
}

} // namespace kestrum
