#pragma once

#include "Profile.h"
#include "platform/Messages.h"
#include "platform/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace kestrum {

// The run-time values the writer reads besides the profile.
struct ConfigInputs {
  QString ProgramDir; // with trailing '/'
  bool OfflineMode = false;
  QString TimeSpecs;
  QDateTime Now = QDateTime::currentDateTime();
};

// "ON" when isIt is -1 (true), "OFF" for every other value.
QString OO(int16_t isIt);

// The lines of analog.cfg for profile, without line ends.
QStringList ConfigLines(const Profile &profile, const ConfigInputs &inputs);

// A profile value as the single argument of an analyser command: enclosed in
// double quotes (single quotes when it holds a double quote, parentheses when
// it holds both) when it holds a blank, a tab or '#' or ends in a backslash,
// unless the user enclosed it already. A value that cannot be enclosed stays
// as it is.
QString AnalogArgument(const QString &value);

// Writes ProgramDir + "analog.cfg" (Windows-1252, CR LF after every line).
// On any failure it shows "Error creating .cfg file" (critical, "Internal
// Error") and returns; a read-only analog.cfg is left unchanged. The result
// carries the system's reason for a caller that can show more than the box.
Result MakeCFG(const Profile &profile, const ConfigInputs &inputs, Messages &messages);

} // namespace kestrum
