#pragma once

// What the control's shell and system actions ask of the desktop: programs to
// run or start, modal windows, message boxes. The control reaches the system
// only through this interface, so a test hands it a recording fake and no
// test can end the session, print or open a real window.

#include "platform/Messages.h"

#include <QString>
#include <QStringList>

#include <memory>

class QDialog;

namespace kestrum::tellurix {

class Desktop : public Messages {
public:
  // Runs program (found on PATH unless it is a path) and waits for its end:
  // its exit code, or -1 when it could not be run.
  virtual int Run(const QString &program, const QStringList &args) = 0;
  // Starts program without waiting, never through a shell; false when it
  // could not be started.
  virtual bool Start(const QString &program, const QStringList &args) = 0;
  // Shows dialog modally and returns when it is closed.
  virtual void ShowModal(QDialog &dialog) = 0;
};

// The real desktop: QProcess, QDialog::exec, QMessageBox (standard error when
// the host has no windows).
std::shared_ptr<Desktop> SystemDesktop();

// A desktop that runs, starts and shows nothing and answers failure: what a
// control made without a desktop (in tests) has.
std::shared_ptr<Desktop> NoDesktop();

} // namespace kestrum::tellurix
