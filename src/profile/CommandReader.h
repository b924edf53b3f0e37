#pragma once

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kestrum {

// One line of an analyser command file, after continuations are joined.
struct CommandLine {
  enum Kind {
    Command, // name and arguments read
    Comment, // a line starting with '#' (text holds it as written)
    Unread,  // a command line the analyser would not take as written (problem says why)
  };
  Kind kind = Command;
  QString file;          // the file it came from
  int line = 0;          // its first physical line, counted from 1
  QString text;          // the line without surrounding blanks, trailing comment included
  QString name;          // the command name in capitals
  QStringList arguments; // enclosures ("...", '...', (...)) removed
  QString problem;
};

// Why a line was not read as a command, or an include not followed.
struct CommandProblem {
  QString file;
  int line = 0;
  QString why;
};

struct CommandFile {
  QList<CommandLine> lines;       // commands, comments and unread lines, includes expanded
  QList<CommandProblem> problems; // in the order met
  int blankLines = 0;
  int includedFiles = 0;
};

// The analyser's longest command line, after continuations are joined.
constexpr int kMaxCommandLineLength = 254;
// Command files larger than this are refused.
constexpr qint64 kMaxCommandFileSize = 16 << 20;
// How deep CONFIGFILE includes are followed.
constexpr int kMaxIncludeDepth = 10;

// Reads an analyser command file: lines ended by LF or CR LF, '#' comments
// (also after a command, outside an enclosure), a trailing backslash joining
// the next line, command names in any case, arguments separated by blanks or
// enclosed in double or single quotes or parentheses. CONFIGFILE lines are
// replaced by the lines of the file they name (relative to the including
// file); a missing, unreadable, looping or too deeply nested include is
// recorded as a problem and its line kept as Unread (a loop's line is
// dropped). Fails, reading nothing, when the file itself cannot be read, is
// larger than kMaxCommandFileSize or is binary (holds a NUL byte).
Result ReadCommandFile(const QString &path, CommandFile &out);

// The lines of command-file text, as if read from fileName (includes are
// followed relative to its folder).
void ReadCommandText(const QString &text, const QString &fileName, CommandFile &out);

} // namespace kestrum
