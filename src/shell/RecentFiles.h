#pragma once

#include "Settings.h"

namespace kestrum {

// Puts (name, path) first in the recent-files list. An entry with the same
// path (exact comparison) is moved up; without one the oldest entry drops
// out at the end.
void RecordRecentFile(ApplicationSettings &settings, const QString &name, const QString &path);

// "Kestrum - NAME (PATH)", the main window's caption for a loaded profile.
QString ProfileWindowTitle(const QString &name, const QString &path);

} // namespace kestrum
