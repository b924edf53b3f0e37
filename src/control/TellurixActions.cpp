// The control's shell and system actions, its tray icon and its about box.
// Every program is run or started through the control's Desktop.

#include "AboutForm.h"
#include "SystemActions.h"
#include "Tellurix.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace kestrum::tellurix {

namespace {

// Results in the shell's convention: above 32 is success.
constexpr int32_t kShellFileNotFound = 2;
constexpr int32_t kShellNoAssociation = 31;
constexpr int32_t kShellStarted = 42;
// The network dialogs' answer when the desktop has no such dialog.
constexpr int32_t kNotSupported = 50;

// Copies source over destination through a file beside it, renamed into place.
bool copyFile(const QString &source, const QString &destination) {
  QFile in(source);
  QSaveFile out(destination);
  if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
    return false;
  QByteArray chunk;
  while (!(chunk = in.read(1 << 20)).isEmpty())
    if (out.write(chunk) != chunk.size())
      return false;
  if (in.error() != QFileDevice::NoError || !out.commit())
    return false;
  QFile::setPermissions(destination, in.permissions());
  return true;
}

} // namespace

int32_t Tellurix::shellExecute(const QString &verb, const QString &file) {
  const QFileInfo info(file);
  if (!info.exists()) {
    // An address (http://...) is opened by its registered application.
    const QUrl url(file);
    const bool address = url.isValid() && url.scheme().size() > 1;
    if (verb == QLatin1String("open") && address)
      return desktop_->Start(QStringLiteral("xdg-open"), {file}) ? kShellStarted
                                                                 : kShellNoAssociation;
    return kShellFileNotFound;
  }
  const QString path = info.absoluteFilePath();
  if (verb == QLatin1String("print")) {
    if (info.isDir())
      return kShellNoAssociation;
    return desktop_->Run(QStringLiteral("lp"), {QStringLiteral("--"), path}) == 0
               ? kShellStarted
               : kShellNoAssociation;
  }
  if (verb == QLatin1String("explore") && !info.isDir())
    return kShellNoAssociation; // only folders are explored
  return desktop_->Start(QStringLiteral("xdg-open"), {path}) ? kShellStarted : kShellNoAssociation;
}

int32_t Tellurix::SysStandartDialog(int32_t dialog, const QString &dialogName,
                                    QString &additional) {
  const SettingsPanel &panel = SettingsPanelFor(dialog);
  const QString callersText = additional;
  additional = QString::fromLatin1(panel.prefix) + additional;
  const QString applet = *panel.program ? QString::fromLatin1(panel.program) : dialogName;
  // The applet is a file of the system folder: a name with a folder part
  // would leave it.
  if (applet.isEmpty() || applet.contains(QLatin1Char('/')) ||
      !QFileInfo(systemDirectory_ + applet).isFile())
    return -1;
  // The prefix chose an applet's page on Windows; here the panel argument
  // does, and the caller's own text follows it.
  QStringList arguments;
  if (*panel.panel)
    arguments << QString::fromLatin1(panel.panel);
  if (!callersText.isEmpty())
    arguments << callersText;
  desktop_->Start(systemDirectory_ + applet, arguments); // the outcome is not used
  return 0;
}

int Tellurix::callAction(const MemberDef &def, std::vector<Variant> &args, Variant &out) {
  auto session = [&](SessionAction action) {
    const Command command = SessionCommand(action);
    out = int32_t(desktop_->Run(command.program, command.args) == 0 ? 1 : 0);
    return 0;
  };
  auto networkDialog = [&](NetworkDialog dialog) {
    const Command command = NetworkDialogCommand(dialog);
    out = desktop_->Start(command.program, command.args) ? int32_t(0) : kNotSupported;
    return 0;
  };
  switch (def.id) {
  case Member::ExitWindowsLogOff: return session(SessionAction::LogOff);
  case Member::ExitWindowsShutdown: return session(SessionAction::Shutdown);
  case Member::ExitWindowsReboot: return session(SessionAction::Reboot);
  case Member::ExitWindowsPowerOff: return session(SessionAction::PowerOff);
  case Member::ShellOpen: out = shellExecute(QStringLiteral("open"), args[0].toString()); return 0;
  case Member::ShellExplore:
    out = shellExecute(QStringLiteral("explore"), args[0].toString());
    return 0;
  case Member::PrintFileShell:
    out = shellExecute(QStringLiteral("print"), args[0].toString());
    return 0;
  case Member::LinkGenerate: {
    const Command command = OpenWithCommand(args[0].toString());
    desktop_->Start(command.program, command.args);
    out = int32_t(0);
    return 0;
  }
  case Member::Win95FileCopy: {
    const QFileInfo source(args[0].toString()), destination(args[1].toString());
    const bool overwrite = args[2].toBool();
    bool copied = false;
    if (source.isFile() && !args[1].toString().isEmpty() && !destination.isDir()) {
      const bool exists = destination.exists();
      const bool sameFile = exists && source.canonicalFilePath() == destination.canonicalFilePath();
      if (!exists || (overwrite && !sameFile && destination.isWritable()))
        copied = copyFile(source.filePath(), destination.filePath());
    }
    out = int32_t(copied ? 1 : 0);
    return 0;
  }
  case Member::SysStandartDialog: {
    QString additional = args[2].toString();
    out = SysStandartDialog(args[0].toI32(), args[1].toString(), additional);
    args[2] = additional;
    return 0;
  }
  case Member::NetConnectFileDialog: return networkDialog(NetworkDialog::ConnectDisk);
  case Member::NetConnectPrinterDialog: return networkDialog(NetworkDialog::ConnectPrinter);
  case Member::NetDisconnectFileDialog: return networkDialog(NetworkDialog::DisconnectDisk);
  case Member::NetDisconnectPrinterDialog: return networkDialog(NetworkDialog::DisconnectPrinter);
  case Member::TaskBarShowIcon:
    tray_.Show(cache(Member::TaskBarIcon).toPicture(), cache(Member::TaskBarToolTip).toString());
    out = int32_t(0);
    return 0;
  case Member::TaskBarRemoveIcon:
    tray_.Remove();
    out = int32_t(0);
    return 0;
  case Member::About:
    // A host without windows has no about box to show.
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
      AboutForm form(*desktop_);
      desktop_->ShowModal(form);
    }
    return 0;
  default: return AutomationError::ActionNotSupported;
  }
}

} // namespace kestrum::tellurix
