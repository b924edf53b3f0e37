#pragma once

#include "profile/ListKeywords.h"
#include "profile/Profile.h"

#include <QString>

#include <array>
#include <span>

namespace kestrum {

using ProfileList = std::array<ListEntry, kListSize>;

// The command lines the "Create" buttons assemble. Parts are joined with one
// blank each, exactly as typed, even when empty: a whole line pasted into the
// first box becomes one entry with trailing blanks.
QString AliasLine(const QString &keyword, const QString &from, const QString &to);
QString InclusionLine(const QString &keyword, const QString &text);
QString SearchEngineLine(const QString &pattern, const QString &queryArgument);

// Writes text into the first empty entry. Returns false and changes nothing
// when all 1001 entries are in use.
bool AppendListEntry(ProfileList &list, const QString &text);

// Removes entry index and closes the gap; a full list gets an empty last
// entry. An index outside the used part changes nothing.
void DeleteListEntry(ProfileList &list, int index);

// What "Create" tells the user when the list has no room left.
QString ListFullMessage();

} // namespace kestrum
