#include "ListEditing.h"

namespace kestrum {

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
