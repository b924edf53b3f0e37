#pragma once

#include "platform/ProgramStart.h"

namespace kestrum {

// Program start of the desktop program. Hidden programs start detached with
// their output discarded. A program in a normal window shows its output live:
// in the desktop's terminal emulator (x-terminal-emulator) when one is
// installed, else in a small output window of our own that stays open after
// the program has ended.
class WindowProgramStart : public ProgramStart {
public:
  bool Start(const QString &program, const QStringList &args, const QString &workingDir,
             WindowStyle style, const QString &hiddenErrorLog, QString *error) override;

  // The terminal emulator used for normal windows; empty when none is found.
  static QString TerminalEmulator();

private:
  DetachedProgramStart detached_;
};

} // namespace kestrum
