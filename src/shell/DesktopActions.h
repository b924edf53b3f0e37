#pragma once

#include <QString>

namespace kestrum {

// What the window asks of the desktop: open a file or address with its
// registered application, and start the text editor on a file. Neither
// waits, and failures are ignored.
class DesktopActions {
public:
  virtual ~DesktopActions() = default;
  virtual void OpenWithShell(const QString &fileOrAddress) = 0;
  virtual void StartEditor(const QString &argument) = 0;
};

// $KESTRUM_EDITOR when set (split like a command line, no shell involved),
// else the desktop's default opener; documents through QDesktopServices.
class QtDesktopActions : public DesktopActions {
public:
  void OpenWithShell(const QString &fileOrAddress) override;
  void StartEditor(const QString &argument) override;
};

} // namespace kestrum
