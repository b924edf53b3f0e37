// The File menu's guarded operations, without widgets: a fake window that
// holds the values its controls would show, recording message boxes and
// scripted file dialogs.

#include "shell/Document.h"
#include "ShellFixture.h"
#include "TestFiles.h"
#include "profile/ProfileFile.h"
#include "shell/RecentFiles.h"

#include <QDir>

namespace kestrum::testing {
namespace {

// The window's controls as one settings block; the lists are the
// document's own, as in the real window.
class FakeView : public DocumentView {
public:
  void ReadWriteWindow(Profile &profile, bool toWindow) override {
    if (toWindow)
      shown = profile.Settings;
    else
      profile.Settings = shown;
  }
  void ProfileLoaded() override { ++loads; }
  void UpdateShortCutMenu() override { ++menuRefreshes; }
  void SetTitle(const QString &t) override { title = t; }
  void ShowNewOpen() override {
    ++newOpenShown;
    if (!newOpenChoice.isEmpty())
      globals().CurrentProfilePath = newOpenChoice;
  }
  ProfileSettings shown;
  int loads = 0, menuRefreshes = 0, newOpenShown = 0;
  QString title;
  QString newOpenChoice; // empty: the dialog is cancelled
};

Profile named(const QString &name) {
  Profile p;
  p.Settings.ProfileName = name;
  p.Settings.LogFile = name + QStringLiteral(".log");
  return p;
}

class DocumentTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    globals() = ProgramGlobals{};
    globals().ProgramDir = dir.path() + QLatin1Char('/');
    globals().SettingsFile = path(QStringLiteral("Kestrum.KestrumSettings"));
    globals().Settings.Options.LastDir = QStringLiteral("/last/");
    ASSERT_TRUE(WriteProfileFile(path(QStringLiteral("A.Kestrum")), named("A")).ok());
    ASSERT_TRUE(WriteProfileFile(path(QStringLiteral("B.Kestrum")), named("B")).ok());
    ASSERT_TRUE(doc.Load(path(QStringLiteral("A.Kestrum"))));
  }
  void TearDown() override { globals() = ProgramGlobals{}; }
  QString path(const QString &name) const { return dir.filePath(name); }
  void edit() { view.shown.LogFile = QStringLiteral("edited.log"); }

  QTemporaryDir dir;
  FakeView view;
  RecordingMessages messages;
  ScriptedFileDialogs dialogs;
  Document doc{globals(), view, messages, dialogs};
};

const QString kSavePrompt = QStringLiteral("Data Changed - Do you want to save?");

// New, Open, a recent file and Exit ask before they drop edits, only when
// AskToSave is on and only when something changed; Yes saves first, Cancel
// stops, No goes on. Yes with a cancelled Save As (a template is open) goes
// on all the same.
TEST_F(DocumentTest, GuardedOperationsAskBeforeDroppingEdits) {
  enum Op { New, Open, Recent, Exit };
  const struct {
    const char *name;
    Op op;
    bool askToSave, edited;
    bool onTemplate;
    std::vector<MessageAnswer> answers;
    bool prompted, savedEdit, wentOn;
  } cases[] = {
      {"ask off", Open, false, true, false, {}, false, false, true},
      {"nothing changed", Open, true, false, false, {}, false, false, true},
      {"Yes saves, then opens", Open, true, true, false, {MessageAnswer::Yes}, true, true, true},
      {"No opens without saving", Open, true, true, false, {MessageAnswer::No}, true, false, true},
      {"Cancel stops", Open, true, true, false, {MessageAnswer::Cancel}, true, false, false},
      {"Yes, Save As cancelled, goes on",
       Open,
       true,
       true,
       true,
       {MessageAnswer::Yes},
       true,
       false,
       true},
      {"New: Cancel stops", New, true, true, false, {MessageAnswer::Cancel}, true, false, false},
      {"New: No goes on", New, true, true, false, {MessageAnswer::No}, true, false, true},
      {"Recent: Cancel stops",
       Recent,
       true,
       true,
       false,
       {MessageAnswer::Cancel},
       true,
       false,
       false},
      {"Recent: Yes saves", Recent, true, true, false, {MessageAnswer::Yes}, true, true, true},
      {"Exit: Cancel stays", Exit, true, true, false, {MessageAnswer::Cancel}, true, false, false},
      {"Exit: Yes saves and ends", Exit, true, true, false, {MessageAnswer::Yes}, true, true, true},
      {"Exit: ask off ends", Exit, false, true, false, {}, false, false, true},
  };
  const QString a = path(QStringLiteral("A.Kestrum")), b = path(QStringLiteral("B.Kestrum"));
  const QString templatePath = path(QStringLiteral("Template/Default.Kestrum"));
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Template")));
  ASSERT_TRUE(WriteProfileFile(templatePath, named("Default")).ok());
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const QString start = c.onTemplate ? templatePath : a;
    ASSERT_TRUE(WriteProfileFile(a, named("A")).ok());
    ASSERT_TRUE(doc.Load(start));
    QFile::remove(globals().SettingsFile);
    globals().Settings.Options.AskToSave = c.askToSave ? kTrue16 : kFalse16;
    if (c.edited)
      edit();
    messages.shown.clear();
    messages.answers.assign(c.answers.begin(), c.answers.end());
    // Save As (on a template) is cancelled; Open picks B.
    dialogs.answers.clear();
    if (c.onTemplate)
      dialogs.answers.push_back(QString());
    dialogs.answer = c.op == Open ? b : QString();
    view.newOpenChoice = b;

    bool ended = false;
    switch (c.op) {
    case New: doc.mnuFileNew_Click(); break;
    case Open: doc.mnuFileOpen_Click(); break;
    case Recent:
      RecordRecentFile(globals().Settings, QStringLiteral("B"), b);
      doc.mnuFileQuick_Click(0);
      break;
    case Exit: ended = doc.mnuFileExit_Click(); break;
    }
    EXPECT_EQ(messages.texts().contains(kSavePrompt), c.prompted);
    Profile onDisk;
    ASSERT_TRUE(ReadProfileFile(start, onDisk).ok());
    EXPECT_EQ(onDisk.Settings.LogFile == QStringLiteral("edited.log"), c.savedEdit);
    if (c.op == Exit) {
      EXPECT_EQ(ended, c.wentOn);
      EXPECT_EQ(QFile::exists(globals().SettingsFile), c.wentOn);
    } else {
      EXPECT_EQ(globals().CurrentProfilePath, c.wentOn ? b : start);
    }
  }
}

// File > Import: the imported file becomes a new, unsaved profile made from
// the default template (Save asks for a name, the change check sees the
// import); edits are guarded as for New; a file that cannot be imported
// changes nothing.
TEST_F(DocumentTest, ImportMakesANewUnsavedProfile) {
  const QString templatePath = path(QStringLiteral("Template/Default.Kestrum"));
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Template")));
  Profile defaults = named("Default");
  defaults.Settings.Language = QStringLiteral("GERMAN");
  ASSERT_TRUE(WriteProfileFile(templatePath, defaults).ok());
  const QString config = path(QStringLiteral("site.cfg"));
  test::writeAll(config, "HOSTNAME \"Example Site\"\nLOGFILE ./access.log\nSEARCHENGINE x q\n");
  globals().Settings.Options.AskToSave = kTrue16;

  edit();
  messages.answers.assign({MessageAnswer::Cancel});
  dialogs.answer = config;
  doc.mnuFileImport_Click();
  EXPECT_EQ(messages.texts(), QStringList{kSavePrompt});
  EXPECT_TRUE(dialogs.asked.isEmpty()) << "Cancel stops before the file dialog";

  messages.shown.clear();
  messages.answers.assign({MessageAnswer::No});
  doc.mnuFileImport_Click();
  EXPECT_EQ(dialogs.asked, QStringList{"Import analog.cfg|/last/"});
  EXPECT_EQ(view.shown.HostName, QStringLiteral("Example Site"));
  EXPECT_EQ(view.shown.LogFile, QStringLiteral("./access.log"));
  EXPECT_EQ(view.shown.Language, QStringLiteral("GERMAN")) << "from the template";
  EXPECT_EQ(view.shown.OtherCommands, QStringLiteral("SEARCHENGINE x q"));
  EXPECT_EQ(globals().CurrentProfilePath, templatePath);
  EXPECT_EQ(view.title, ProfileWindowTitle(QStringLiteral("site"), templatePath));
  ASSERT_EQ(messages.texts().size(), 2);
  EXPECT_TRUE(messages.texts()[1].startsWith(QStringLiteral("Imported site.cfg\n\n"
                                                            "Commands mapped to profile fields: 2\n"
                                                            "Commands kept in OtherCommands: 1")))
      << qPrintable(messages.texts()[1]);
  EXPECT_TRUE(doc.CheckForChange()) << "the import is not saved yet";

  // A binary file is refused; the imported profile stays.
  test::writeAll(path(QStringLiteral("binary.cfg")), QByteArray("\0\1\2", 3));
  dialogs.answer = path(QStringLiteral("binary.cfg"));
  messages.shown.clear();
  messages.answers.assign({MessageAnswer::No});
  doc.mnuFileImport_Click();
  ASSERT_EQ(messages.texts().size(), 2);
  EXPECT_TRUE(messages.texts()[1].startsWith(QStringLiteral("Could not import file")));
  EXPECT_EQ(view.shown.HostName, QStringLiteral("Example Site"));
}

// The whole serialised records are compared: a profile whose aliases push
// the settings block far behind byte 12,773 still shows an edit there, and
// so does an alias near the end of the list.
TEST_F(DocumentTest, ChangeCheckSeesEditsAnywhereInTheRecord) {
  Profile many = named("Many");
  for (int i = 0; i < 600; ++i)
    many.Aliases[size_t(i)].Text = QStringLiteral("HOSTALIAS host%1.example.org h%1").arg(i);
  ASSERT_GT(encodeProfile(many).indexOf("Many"), 12773);
  ASSERT_TRUE(WriteProfileFile(path(QStringLiteral("Many.Kestrum")), many).ok());
  ASSERT_TRUE(doc.Load(path(QStringLiteral("Many.Kestrum"))));
  EXPECT_FALSE(doc.CheckForChange());

  view.shown.ProfileName = QStringLiteral("Renamed");
  EXPECT_TRUE(doc.CheckForChange());
  view.shown.ProfileName = QStringLiteral("Many");
  EXPECT_FALSE(doc.CheckForChange());
  doc.profile().Aliases[599].Text = QStringLiteral("HOSTALIAS changed h");
  EXPECT_TRUE(doc.CheckForChange());
  EXPECT_TRUE(messages.shown.empty());
}

// Save in place writes the file; templates (the default one or any path
// with "/Template") and a profile without a file go to Save As.
TEST_F(DocumentTest, TemplatesAreSavedAsANewFile) {
  const QString chosen = path(QStringLiteral("Chosen.Kestrum"));
  const struct {
    QString current;
    bool asksForName;
  } cases[] = {
      {path(QStringLiteral("A.Kestrum")), false},
      {globals().ProgramDir + QStringLiteral("Template/Default.Kestrum"), true},
      {QStringLiteral("/elsewhere/Template/Shop.Kestrum"), true},
      {QStringLiteral("/elsewhere/MyTemplates/Shop.Kestrum"), false},
      {QString(), true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.current.toStdString());
    globals().CurrentProfilePath = c.current;
    dialogs.asked.clear();
    dialogs.answer = chosen;
    doc.mnuFileSave_Click();
    EXPECT_EQ(dialogs.asked.size(), c.asksForName ? 1 : 0);
    if (c.asksForName) {
      EXPECT_EQ(dialogs.asked[0], QStringLiteral("Save Kestrum Files|/last/"));
      EXPECT_EQ(globals().CurrentProfilePath, chosen);
      EXPECT_EQ(globals().Settings.Options.LastDir, dir.path() + QLatin1Char('/'));
      globals().Settings.Options.LastDir = QStringLiteral("/last/");
    }
  }
  // "/elsewhere/MyTemplates" is no template: saved in place, where its
  // folder does not exist.
  EXPECT_EQ(messages.texts(), QStringList{"Could not save file"});
}

// A failed save in place or Save As reports the failure and keeps the old
// path; a failed settings write keeps the program open once.
TEST_F(DocumentTest, FailedWritesSayCouldNotSaveFile) {
  const QString a = path(QStringLiteral("A.Kestrum"));
  globals().CurrentProfilePath = dir.path() + QStringLiteral("/NoSuchFolder/A.Kestrum");
  doc.mnuFileSave_Click();
  globals().CurrentProfilePath = a;
  dialogs.answer = dir.path() + QStringLiteral("/NoSuchFolder/B.Kestrum");
  doc.mnuFileSaveAs_Click();
  EXPECT_EQ(globals().CurrentProfilePath, a);
  globals().SettingsFile = dir.path() + QStringLiteral("/NoSuchFolder/Kestrum.KestrumSettings");
  EXPECT_FALSE(doc.mnuFileExit_Click());
  // The same failure again: the program can still be left.
  EXPECT_TRUE(doc.mnuFileExit_Click());
  ASSERT_EQ(messages.shown.size(), 4u);
  for (const ShownMessage &m : messages.shown) {
    EXPECT_EQ(m.text, QStringLiteral("Could not save file"));
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.title, QStringLiteral("Error"));
  }

  // Yes to the save prompt, and the save fails: Exit stays open.
  globals().SettingsFile = path(QStringLiteral("Kestrum.KestrumSettings"));
  globals().CurrentProfilePath = dir.path() + QStringLiteral("/NoSuchFolder/A.Kestrum");
  globals().Settings.Options.AskToSave = kTrue16;
  edit();
  messages.answers = {MessageAnswer::Yes};
  EXPECT_FALSE(doc.mnuFileExit_Click());
  EXPECT_FALSE(QFile::exists(globals().SettingsFile));
}

// A file that cannot be read whole keeps the previous profile and path.
TEST_F(DocumentTest, ADamagedProfileKeepsThePreviousOne) {
  const QByteArray whole = encodeProfile(named("C"));
  const struct {
    const char *name;
    QByteArray bytes; // null: no file
  } cases[] = {
      {"missing", QByteArray()},
      {"empty", QByteArray("")},
      {"cut short", whole.left(whole.size() - 10)},
      {"string runs past the end", QByteArray("\xff\xff"
                                              "abc",
                                              5)},
  };
  const QString a = path(QStringLiteral("A.Kestrum"));
  const QString c = path(QStringLiteral("C.Kestrum"));
  for (const auto &k : cases) {
    SCOPED_TRACE(k.name);
    QFile::remove(c);
    if (!k.bytes.isNull())
      test::writeAll(c, k.bytes);
    messages.shown.clear();
    const QString title = view.title;
    EXPECT_FALSE(doc.Load(c));
    EXPECT_EQ(globals().CurrentProfilePath, a);
    EXPECT_EQ(doc.profile().Settings.ProfileName, QStringLiteral("A"));
    EXPECT_EQ(view.shown.ProfileName, QStringLiteral("A"));
    EXPECT_EQ(view.title, title);
    EXPECT_EQ(globals().Settings.RecentFiles[0].Path, a);
    EXPECT_EQ(messages.texts(), QStringList{"Could not open file"});
  }
}

// A recent file that vanished: the question, and on Yes the entry goes.
// Opening one that exists moves it to the top, sets LastDir and loads it.
TEST_F(DocumentTest, RecentFilesMoveUpOrAreRemoved) {
  const QString a = path(QStringLiteral("A.Kestrum")), b = path(QStringLiteral("B.Kestrum"));
  const QString gone = path(QStringLiteral("Gone.Kestrum"));
  const struct {
    MessageAnswer answer;
    QStringList pathsAfter;
  } cases[] = {
      {MessageAnswer::No, {gone, b, a}},
      {MessageAnswer::Yes, {b, a}},
  };
  for (const auto &c : cases) {
    auto &recent = globals().Settings.RecentFiles;
    recent = {};
    RecordRecentFile(globals().Settings, QStringLiteral("A"), a);
    RecordRecentFile(globals().Settings, QStringLiteral("B"), b);
    RecordRecentFile(globals().Settings, QStringLiteral("Gone"), gone);
    messages.shown.clear();
    messages.answers = {c.answer};
    const int refreshes = view.menuRefreshes;
    doc.mnuFileQuick_Click(0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, VanishedFileQuestion());
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(view.menuRefreshes, refreshes + (c.answer == MessageAnswer::Yes ? 1 : 0));
    QStringList paths;
    for (const RecentFile &entry : recent)
      if (!entry.Path.isEmpty())
        paths << entry.Path;
    EXPECT_EQ(paths, c.pathsAfter);
  }

  // Now B, A: opening A (index 1) moves it up.
  globals().Settings.Options.LastDir = QStringLiteral("/last/");
  doc.mnuFileQuick_Click(1);
  EXPECT_EQ(globals().CurrentProfilePath, a);
  EXPECT_EQ(globals().Settings.RecentFiles[0].Path, a);
  EXPECT_EQ(globals().Settings.RecentFiles[1].Path, b);
  EXPECT_TRUE(globals().Settings.RecentFiles[2].Path.isEmpty());
  EXPECT_EQ(globals().Settings.Options.LastDir, dir.path() + QLatin1Char('/'));
  EXPECT_EQ(view.title, QStringLiteral("Kestrum - A (%1)").arg(a));
}

// New shows the New/Open dialog and loads its choice; a cancelled dialog
// reloads the current profile, dropping edits when AskToSave is off.
TEST_F(DocumentTest, NewLoadsTheChoiceOrReloadsTheCurrentProfile) {
  const QString a = path(QStringLiteral("A.Kestrum")), b = path(QStringLiteral("B.Kestrum"));
  const struct {
    QString choice;
    QString loaded;
  } cases[] = {{b, b}, {QString(), a}};
  for (const auto &c : cases) {
    ASSERT_TRUE(doc.Load(a));
    edit();
    view.newOpenChoice = c.choice;
    const int loads = view.loads;
    doc.mnuFileNew_Click();
    EXPECT_EQ(globals().CurrentProfilePath, c.loaded);
    EXPECT_EQ(view.loads, loads + 1); // the lists are refilled
    EXPECT_EQ(view.shown.LogFile, QFileInfo(c.loaded).baseName() + QStringLiteral(".log"));
  }
  EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace kestrum::testing
