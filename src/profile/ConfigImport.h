#pragma once

#include "CommandReader.h"
#include "Profile.h"
#include "platform/Result.h"

#include <QStringList>

namespace kestrum {

// What an import did with the lines of the command file.
struct ImportSummary {
  int mapped = 0;        // commands that set a profile field or went into a list
  int kept = 0;          // command lines kept in OtherCommands
  int ignored = 0;       // comments and blank lines
  int includedFiles = 0; // CONFIGFILE includes followed
  QStringList problems;  // "file:line: why"
};

// The profile an import starts from: the template's settings with both lists
// and OtherCommands emptied, so that they hold exactly what the file had.
Profile ImportStart(const Profile &templateProfile);

// Applies the lines of a command file to profile, in order, a later command
// overriding an earlier one as in the analyser: the inverse of the writer.
// Commands that map to no field, that a field cannot hold as written, or
// that a full list cannot take are appended to OtherCommands (CR LF between
// lines) in their original order.
void ApplyCommandFile(const CommandFile &file, Profile &profile, ImportSummary &summary);

// Reads the analyser command file at path and imports it into a copy of
// ImportStart(templateProfile). The profile name is the file's base name
// unless the file names its profile in the writer's "# Settings from" line.
// Fails, changing nothing, when the file cannot be read or is binary or too
// large; problems with single lines or includes only go to the summary.
Result ImportAnalogConfig(const QString &path, const Profile &templateProfile, Profile &profile,
                          ImportSummary &summary);

// The summary as lines for the user: the three counts, then the problems.
QStringList ImportSummaryLines(const ImportSummary &summary);

} // namespace kestrum
