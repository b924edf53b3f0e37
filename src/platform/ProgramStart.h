#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace kestrum {

// How a started program shows itself: NormalFocus lets the user watch its
// output while it runs; Hidden shows nothing: its output is discarded, and
// its standard error is kept in a file when the caller names one.
enum class WindowStyle { Hidden, NormalFocus };

inline WindowStyle WindowStyleFor(int16_t showWindow) {
  return showWindow != 0 ? WindowStyle::NormalFocus : WindowStyle::Hidden;
}

// Starts a program from an argument vector (never through a shell) without
// waiting for it. The caller keeps nothing of the started process.
class ProgramStart {
public:
  virtual ~ProgramStart() = default;
  // False, with the reason in *error, when the program cannot be started
  // (missing, not executable, not a program).
  // hiddenErrorLog: for a Hidden start, the file that receives the
  // program's standard error (replaced); empty: discarded.
  virtual bool Start(const QString &program, const QStringList &args, const QString &workingDir,
                     WindowStyle style, const QString &hiddenErrorLog, QString *error) = 0;
};

// A detached process. Hidden: standard input and output are the null
// device, standard error the error log or the null device. NormalFocus: the program shares this
// process's terminal, so a program started from a console shows its output there live.
class DetachedProgramStart : public ProgramStart {
public:
  bool Start(const QString &program, const QStringList &args, const QString &workingDir,
             WindowStyle style, const QString &hiddenErrorLog, QString *error) override;
};

} // namespace kestrum
