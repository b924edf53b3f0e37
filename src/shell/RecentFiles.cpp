#include "RecentFiles.h"

namespace kestrum {

void RecordRecentFile(ApplicationSettings &settings, const QString &name, const QString &path) {
  auto &list = settings.RecentFiles;
  int k = kRecentFileCount - 1;
  for (int i = 0; i < kRecentFileCount; ++i) {
    if (list[i].Path == path) {
      k = i;
      break;
    }
  }
  for (int i = k; i >= 1; --i)
    list[i] = list[i - 1];
  list[0] = {name, path};
}

QString ProfileWindowTitle(const QString &name, const QString &path) {
  return QStringLiteral("Kestrum - ") + name + QStringLiteral(" (") + path + QLatin1Char(')');
}

} // namespace kestrum
