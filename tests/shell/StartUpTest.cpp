// The start-up: the command line, the selection loop and the first window.

#include "shell/StartUp.h"
#include "ShellFixture.h"
#include "profile/ProfileFile.h"
#include "shell/FirstStart.h"
#include "shell/TabStrip.h"

#include <QDir>
#include <QListWidget>

namespace kestrum::testing {
namespace {

TEST(CommandLine, IsOnePathWithOneLeadingAndOneTrailingQuoteDropped) {
  const struct {
    QStringList arguments;
    QString path;
  } cases[] = {
      {{"kestrum"}, ""},
      {{"kestrum", "/p/a.Kestrum"}, "/p/a.Kestrum"},
      {{"kestrum", "\"/p/with blank.Kestrum\""}, "/p/with blank.Kestrum"},
      {{"kestrum", "/p/with", "blank.Kestrum"}, "/p/with blank.Kestrum"},
      {{"kestrum", "\"/p/open"}, "/p/open"},
      {{"kestrum", "/p/close\""}, "/p/close"},
      {{"kestrum", "\"\"/p/twice\"\""}, "\"/p/twice\""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(UnquotedPath(CommandLine(c.arguments)), c.path)
        << c.arguments.join(' ').toStdString();
}

class StartUpLoop : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    globals() = ProgramGlobals{};
    globals().ProgramDir = dir.path() + QLatin1Char('/');
    globals().SettingsFile = path(QStringLiteral("Kestrum.KestrumSettings"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Template")));
  }
  void TearDown() override { globals() = ProgramGlobals{}; }
  QString path(const QString &name) const { return dir.filePath(name); }
  void writeProfile(const QString &name) {
    Profile p;
    p.Settings.ProfileName = name;
    ASSERT_TRUE(WriteProfileFile(path(name), p).ok());
  }
  void writeSettings(bool showNewOpen) {
    ApplicationSettings s;
    s.Options.ShowNewOpenAtStartup = showNewOpen ? kTrue16 : kFalse16;
    s.Options.MaxRecentFiles = 5;
    ASSERT_TRUE(WriteSettingsFile(globals().SettingsFile, s).ok());
  }

  QTemporaryDir dir;
  RecordingMessages messages;
};

// Command line first; a missing file brings the not-found message once,
// then the New/Open dialog (when the settings ask for it) or the default
// template. Without the default template the New/Open dialog is offered
// instead of asking again and again; its Cancel ends the start.
TEST_F(StartUpLoop, ChoosesCommandLineDialogOrDefaultTemplate) {
  const QString fallback = QStringLiteral("Template/Default.Kestrum");
  const struct {
    const char *name;
    QString commandLine;
    bool showNewOpen, defaultExists;
    QString dialogChoice; // empty: the dialog is cancelled
    bool chosen;
    QString opened;
    int notFound, dialogs;
  } cases[] = {
      {"command line", "\"" + path("Given.Kestrum") + "\"", false, true, "", true, "Given.Kestrum",
       0, 0},
      {"unbalanced quote", "\"" + path("Given.Kestrum"), false, true, "", true, "Given.Kestrum", 0,
       0},
      {"path with blanks", path("With Blank.Kestrum"), false, true, "", true, "With Blank.Kestrum",
       0, 0},
      {"missing, then default", path("Missing.Kestrum"), false, true, "", true, fallback, 1, 0},
      {"missing, then dialog", path("Missing.Kestrum"), true, true, "Given.Kestrum", true,
       "Given.Kestrum", 1, 1},
      {"no command line, dialog", "", true, true, "Given.Kestrum", true, "Given.Kestrum", 0, 1},
      {"no command line, default", "", false, true, "", true, fallback, 0, 0},
      {"dialog cancelled", "", true, true, "", false, "", 0, 1},
      {"no default: dialog offered", "", false, false, "Given.Kestrum", true, "Given.Kestrum", 1,
       1},
      {"no default, dialog cancelled", "", false, false, "", false, "", 1, 1},
  };
  writeProfile(QStringLiteral("Given.Kestrum"));
  writeProfile(QStringLiteral("With Blank.Kestrum"));
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(path(fallback));
    if (c.defaultExists)
      writeProfile(fallback);
    writeSettings(c.showNewOpen);
    messages.shown.clear();
    int dialogs = 0;
    StartUp startUp(
        globals(), messages,
        [&] {
          ++dialogs;
          EXPECT_TRUE(globals().StartingUp);
          // Changes in memory during a pass are dropped by the next one.
          globals().Settings.Options.AskToSave = kTrue16;
          if (c.dialogChoice.isEmpty())
            return false;
          globals().CurrentProfilePath = path(c.dialogChoice);
          return true;
        },
        c.commandLine);
    EXPECT_EQ(startUp.ChooseFirstProfile(), c.chosen);
    EXPECT_FALSE(globals().StartingUp);
    EXPECT_EQ(dialogs, c.dialogs);
    EXPECT_EQ(messages.shown.size(), size_t(c.notFound));
    for (const ShownMessage &m : messages.shown) {
      EXPECT_EQ(m.text, QStringLiteral("File not found - please choose other or default"));
      EXPECT_EQ(m.icon, MessageIcon::Critical);
      EXPECT_EQ(m.title, QStringLiteral("Kestrum"));
    }
    if (c.chosen) {
      EXPECT_EQ(globals().CurrentProfilePath, path(c.opened));
      EXPECT_EQ(globals().Settings.Options.MaxRecentFiles, 10);
    }
  }
}

TEST_F(StartUpLoop, LastDirDefaultsToTheDocumentsFolder) {
  writeProfile(QStringLiteral("Template/Default.Kestrum"));
  StartUp startUp(
      globals(), messages, [] { return false; }, QString());
  startUp.documentsFolder = [] { return QStringLiteral("/home/me/Documents/"); };
  ASSERT_TRUE(startUp.ChooseFirstProfile());
  EXPECT_EQ(globals().Settings.Options.LastDir, QStringLiteral("/home/me/Documents/"));

  // Without a documents folder it is the home folder.
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", dir.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  EXPECT_EQ(DocumentsFolder(), dir.path() + QLatin1Char('/'));
  qputenv("HOME", home);
  qunsetenv("XDG_CONFIG_HOME");
}

using FirstWindow = ShellFixture;

// The first profile is loaded into the window, which then shows the first
// page, both lists and the title; a damaged file is reported and the
// New/Open dialog offered.
TEST_F(FirstWindow, LoadsTheChosenProfileAndShowsTheWindow) {
  Profile given;
  given.Settings.ProfileName = QStringLiteral("Given");
  given.Aliases[0].Text = QStringLiteral("HOSTALIAS a b");
  given.Excludes[0].Text = QStringLiteral("FILEEXCLUDE *.gif");
  ASSERT_TRUE(WriteProfileFile(path(QStringLiteral("Given.Kestrum")), given).ok());
  QFile damaged(path(QStringLiteral("Damaged.Kestrum")));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("\x10\x00"
                "cut",
                5);
  damaged.close();

  window->MainTab()->setCurrentIndex(4);
  windows.newOpen = [&] {
    globals().CurrentProfilePath = path(QStringLiteral("Given.Kestrum"));
    return true;
  };
  StartUp startUp(
      globals(), messages, [&] { return windows.NewOpen(window->OpenDialog()); },
      damaged.fileName());
  ASSERT_TRUE(LoadFirstProfile(*window, startUp));
  EXPECT_EQ(messages.texts(), QStringList{"Could not open file"});
  EXPECT_EQ(windows.shown, QStringList{"NewOpen"});
  globals().Settings.Options.ShowTipsAtStartup = kTrue16;
  ShowMainWindow(*window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(),
            QStringLiteral("Kestrum - Given (%1)").arg(path(QStringLiteral("Given.Kestrum"))));
  EXPECT_EQ(window->control<QListWidget>(QStringLiteral("AliasBox"))->count(), 1);
  EXPECT_EQ(window->control<QListWidget>(QStringLiteral("ExBox"))->count(), 1);
  EXPECT_EQ(window->FrontPage(), window->MCont(0));
  EXPECT_EQ(windows.shown, (QStringList{"NewOpen", "TipOfDay modal"}));
}

} // namespace
} // namespace kestrum::testing
