#include "SystemActions.h"

#include <iterator>

namespace kestrum::tellurix {

namespace {

// By Dialog value, SD_32BitODBC (0) to SD_Other (22).
constexpr SettingsPanel kSettingsPanels[] = {
    {"", "ODBCManageDataSourcesQ5", ""},             // SD_32BitODBC
    {"@1", "gnome-control-center", "sound"},         // SD_AccousticSignals
    {"", "gnome-control-center", "background"},      // SD_Desktop
    {"", "gnome-control-center", "datetime"},        // SD_DateTime
    {"", "gnome-control-center", "background"},      // SD_Themes
    {"@3", "gnome-font-viewer", ""},                 // SD_Fonts
    {"@1", "gnome-control-center", "info-overview"}, // SD_Hardware
    {"", "gnome-control-center", "network"},         // SD_Internet
    {"", "jstest-gtk", ""},                          // SD_Joystick
    {"", "gnome-control-center", "users"},           // SD_Passwords
    {"", "gnome-control-center", "region"},          // SD_CountrySettings
    {"", "gnome-control-center", "online-accounts"}, // SD_MailAndFax
    {"", "gnome-control-center", "mouse"},           // SD_Mouse
    {"", "gnome-control-center", "online-accounts"}, // SD_MailPostoffice
    {"", "gnome-control-center", "wwan"},            // SD_Modems
    {"", "gnome-control-center", "sound"},           // SD_Multimedia
    {"", "gnome-control-center", "network"},         // SD_Network
    {"", "gnome-software", ""},                      // SD_Software
    {"", "gnome-control-center", "info-overview"},   // SD_System
    {"@1", "gnome-control-center", "keyboard"},      // SD_Keyboard
    {"", "gnome-tweaks", ""},                        // SD_TweakUI
    {"@2", "gnome-control-center", "printers"},      // SD_Printer
    {"", "", ""},                                    // SD_Other
};

} // namespace

const SettingsPanel &SettingsPanelFor(int32_t dialog) {
  const auto count = int32_t(std::size(kSettingsPanels));
  return kSettingsPanels[dialog >= 0 && dialog < count ? dialog : count - 1];
}

Command SessionCommand(SessionAction action) {
  switch (action) {
  case SessionAction::LogOff: {
    // The session this process belongs to.
    QString session = qEnvironmentVariable("XDG_SESSION_ID");
    if (session.isEmpty())
      session = QStringLiteral("self");
    return {QStringLiteral("loginctl"), {QStringLiteral("terminate-session"), session}};
  }
  case SessionAction::Reboot: return {QStringLiteral("systemctl"), {QStringLiteral("reboot")}};
  default: return {QStringLiteral("systemctl"), {QStringLiteral("poweroff")}};
  }
}

Command NetworkDialogCommand(NetworkDialog dialog) {
  switch (dialog) {
  case NetworkDialog::ConnectDisk:
  case NetworkDialog::DisconnectDisk:
    // The file manager's "Other Locations": connect to a server, unmount shares.
    return {QStringLiteral("nautilus"),
            {QStringLiteral("--new-window"), QStringLiteral("other-locations:///")}};
  default: return {QStringLiteral("system-config-printer"), {}};
  }
}

Command OpenWithCommand(const QString &file) {
  // "--": a file name is never taken for an option.
  QStringList args{QStringLiteral("-a")};
  if (!file.isEmpty())
    args << QStringLiteral("--") << file;
  return {QStringLiteral("mimeopen"), args};
}

} // namespace kestrum::tellurix
