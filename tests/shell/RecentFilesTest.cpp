// The recent-files list after saves and loads, and its File menu entries.

#include "shell/RecentFiles.h"
#include "ShellFixture.h"

#include <QAction>

namespace kestrum::testing {
namespace {

ApplicationSettings withPaths(std::initializer_list<const char *> paths) {
  ApplicationSettings s;
  int i = 0;
  for (const char *p : paths) {
    s.RecentFiles[size_t(i)] = {QStringLiteral("name%1").arg(i), QString::fromUtf8(p)};
    ++i;
  }
  return s;
}

QStringList pathsOf(const ApplicationSettings &s) {
  QStringList out;
  for (const RecentFile &f : s.RecentFiles)
    out << f.Path;
  return out;
}

TEST(RecentFiles, RecordingMovesOrDropsEntries) {
  const struct {
    const char *what;
    ApplicationSettings before;
    const char *path;
    QStringList after;
  } cases[] = {
      {"already first: order kept",
       withPaths({"a", "b", "c"}),
       "a",
       {"a", "b", "c", "", "", "", "", "", "", "", ""}},
      {"in the middle: moved up, gap closed",
       withPaths({"a", "b", "c", "d"}),
       "c",
       {"c", "a", "b", "d", "", "", "", "", "", "", ""}},
      {"last of a full list: moved up",
       withPaths({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}),
       "k",
       {"k", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
      {"new path on a full list: oldest dropped",
       withPaths({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}),
       "new",
       {"new", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
      {"comparison is case-sensitive",
       withPaths({"a", "B"}),
       "b",
       {"b", "a", "B", "", "", "", "", "", "", "", ""}},
  };
  for (const auto &c : cases) {
    ApplicationSettings s = c.before;
    RecordRecentFile(s, QStringLiteral("fresh"), QString::fromUtf8(c.path));
    EXPECT_EQ(pathsOf(s), c.after) << c.what;
    EXPECT_EQ(s.RecentFiles[0].Name, QStringLiteral("fresh")) << c.what;
  }
}

using RecentFilesMenu = ShellFixture;

TEST_F(RecentFilesMenu, SavingRefreshesTheListTitleAndMenu) {
  globals().Settings = withPaths({"/p/one", "/p/two"});
  const QString target = path(QStringLiteral("Three.Kestrum"));
  globals().CurrentProfilePath = target;
  window->profile().Settings.ProfileName = QStringLiteral("Third");
  window->ReadWriteWindow(true);
  ASSERT_TRUE(window->SaveData().ok());

  EXPECT_EQ(pathsOf(globals().Settings).mid(0, 4), (QStringList{target, "/p/one", "/p/two", ""}));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Kestrum - Third (%1)").arg(target));
  const QStringList names = {"Third", "name0", "name1"};
  for (int i = 0; i < 6; ++i) {
    QAction *entry = window->menuEntry(QStringLiteral("mnuFileQuick"), i);
    EXPECT_EQ(entry->isVisible(), i < 3) << i;
    if (i < 3) {
      EXPECT_EQ(entry->text(), names[i]);
    }
  }
}

} // namespace
} // namespace kestrum::testing
