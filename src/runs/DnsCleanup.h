#pragma once

#include "platform/Result.h"

#include <QString>

#include <functional>

namespace kestrum {

// "Delete unresolved": removes every unresolved entry (a record whose last
// character is '*') from the DNS cache file `name` in programDir, after
// copying it to "Old " + name there. Records are read as comma- or
// line-delimited fields (leading blanks skipped, enclosing double quotes
// removed) and the kept ones are written one per line with CR LF. The new
// cache replaces the old one only when it is complete, so a failure (no
// file, no room, a read-only folder) leaves the cache as it was and says
// why. percent gets the whole-number share of the file processed each time
// it changes; it may be called from whatever thread runs the clean-up.
Result DeleteUnresolvedDns(const QString &programDir, const QString &name,
                           const std::function<void(int percent)> &percent = {});

} // namespace kestrum
