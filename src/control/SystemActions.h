#pragma once

// The commands behind the control's session, settings and network members:
// which program of this desktop stands for which Windows facility.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace kestrum::tellurix {

// A settings panel of SysStandartDialog: the desktop's settings program for
// one of the dialogs, with the text the caller's Additional gets in front.
struct SettingsPanel {
  const char *prefix;  // put in front of Additional ("" = none)
  const char *program; // a program file in the system folder ("" = the DialogName given)
  const char *panel;   // its first argument ("" = none)
};
// The panel for a Dialog value; SD_Other (22) and every value outside the
// table name their program by DialogName.
const SettingsPanel &SettingsPanelFor(int32_t dialog);

// A command line: program and arguments.
struct Command {
  QString program;
  QStringList args;
};

enum class SessionAction { LogOff, Shutdown, Reboot, PowerOff };
// systemd-logind: end the caller's session, power off, reboot.
Command SessionCommand(SessionAction action);

enum class NetworkDialog { ConnectDisk, ConnectPrinter, DisconnectDisk, DisconnectPrinter };
// The desktop's dialog for connecting or disconnecting network shares and printers.
Command NetworkDialogCommand(NetworkDialog dialog);

// The application chooser ("open with") for a file.
Command OpenWithCommand(const QString &file);

} // namespace kestrum::tellurix
