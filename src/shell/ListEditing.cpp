#include "ListEditing.h"

namespace kestrum {
namespace {

constexpr const char *kAliasKeywords[] = {
    "FILEALIAS",           "HOSTALIAS",          "BROWALIAS",       "REFALIAS",
    "USERALIAS",           "VHOSTALIAS",         "TYPEOUTPUTALIAS", "REQOUTPUTALIAS",
    "REDIROUTPUTALIAS",    "FAILOUTPUTALIAS",    "DIROUTPUTALIAS",  "HOSTOUTPUTALIAS",
    "DOMOUTPUTALIAS",      "ORGOUTPUTALIAS",     "REFOUTPUTALIAS",  "REFSITEOUTPUTALIAS",
    "REDIRREFOUTPUTALIAS", "FAILREFOUTPUTALIAS", "BROWOUTPUTALIAS", "FULLBROWOUTPUTALIAS",
    "OSOUTPUTALIAS",       "VHOSTOUTPUTALIAS",   "USEROUTPUTALIAS", "FAILUSEROUTPUTALIAS",
};

// Each INCLUDE is directly followed by its EXCLUDE.
constexpr const char *kInclusionKeywords[] = {
    "FILEINCLUDE",        "FILEEXCLUDE",        "HOSTINCLUDE",       "HOSTEXCLUDE",
    "BROWINCLUDE",        "BROWEXCLUDE",        "REFINCLUDE",        "REFEXCLUDE",
    "USERINCLUDE",        "USEREXCLUDE",        "VHOSTINCLUDE",      "VHOSTEXCLUDE",
    "REQINCLUDE",         "REQEXCLUDE",         "REDIRINCLUDE",      "REDIREXCLUDE",
    "FAILINCLUDE",        "FAILEXCLUDE",        "TYPEINCLUDE",       "TYPEEXCLUDE",
    "DIRINCLUDE",         "DIREXCLUDE",         "HOSTREPINCLUDE",    "HOSTREPEXCLUDE",
    "DOMINCLUDE",         "DOMEXCLUDE",         "ORGINCLUDE",        "ORGEXCLUDE",
    "REFREPINCLUDE",      "REFREPEXCLUDE",      "REFSITEINCLUDE",    "REFSITEEXCLUDE",
    "SEARCHQUERYINCLUDE", "SEARCHQUERYEXCLUDE", "SEARCHWORDINCLUDE", "SEARCHWORDEXCLUDE",
    "REDIRREFINCLUDE",    "REDIRREFEXCLUDE",    "FAILREFINCLUDE",    "FAILREFEXCLUDE",
    "BROWSUMINCLUDE",     "BROWSUMEXCLUDE",     "FULLBROWINCLUDE",   "FULLBROWEXCLUDE",
    "OSINCLUDE",          "OSEXCLUDE",          "VHOSTREPINCLUDE",   "VHOSTREPEXCLUDE",
    "USERREPINCLUDE",     "USERREPEXCLUDE",     "FAILUSERINCLUDE",   "FAILUSEREXCLUDE",
    "PAGEINCLUDE",        "PAGEEXCLUDE",        "LINKINCLUDE",       "LINKEXCLUDE",
    "REFLINKINCLUDE",     "REFLINKEXCLUDE",     "ARGSINCLUDE",       "ARGSEXCLUDE",
    "REFARGSINCLUDE",     "REFARGSEXCLUDE",
};

} // namespace

std::span<const char *const> aliasKeywords() {
  return kAliasKeywords;
}
std::span<const char *const> inclusionKeywords() {
  return kInclusionKeywords;
}

QString AliasLine(const QString &keyword, const QString &from, const QString &to) {
  return keyword + QLatin1Char(' ') + from + QLatin1Char(' ') + to;
}

QString InclusionLine(const QString &keyword, const QString &text) {
  return keyword + QLatin1Char(' ') + text;
}

QString SearchEngineLine(const QString &pattern, const QString &queryArgument) {
  return QStringLiteral("SEARCHENGINE ") + pattern + QLatin1Char(' ') + queryArgument;
}

bool AppendListEntry(ProfileList &list, const QString &text) {
  const int k = usedListLength(list);
  if (k >= kListSize)
    return false;
  list[k].Text = text;
  return true;
}

void DeleteListEntry(ProfileList &list, int index) {
  if (index < 0)
    return;
  for (int i = index; i < kListSize && !list[i].Text.isEmpty(); ++i)
    list[i] = i + 1 < kListSize ? list[i + 1] : ListEntry{};
}

QString ListFullMessage() {
  return QStringLiteral("The list already holds %1 entries, the most a profile can keep. "
                        "Delete an entry before you create a new one.")
      .arg(kListSize);
}

} // namespace kestrum
