#pragma once

// The control's icon in the notification area: QSystemTrayIcon stands in for
// the shell's notification icon. Shown from Show() until Remove(); the icon
// and tip are those given to Show() (there is no modify operation).

#include "TypeLibrary.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <vector>

namespace kestrum::tellurix {

// The events that one activation of the tray icon stands for, in the order
// the Windows mouse messages come: a click is a press and a release, a
// double-click adds the double-click and the second release. A middle click
// has no event.
std::vector<Event> TrayEvents(QSystemTrayIcon::ActivationReason reason);

class TrayIcon {
public:
  explicit TrayIcon(std::function<void(Event)> raise);
  ~TrayIcon();

  // Adds the icon (nothing new when it is already shown, or when the host has
  // no windows or the desktop no notification area). The tip keeps at most
  // 63 characters.
  void Show(const PicturePtr &picture, const QString &tip);
  void Remove();
  bool shown() const { return icon_ != nullptr; }

private:
  std::function<void(Event)> raise_;
  std::unique_ptr<QSystemTrayIcon> icon_;
};

} // namespace kestrum::tellurix
