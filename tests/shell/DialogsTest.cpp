// The small dialogs: options, tip of the day, tips and tricks, about box.

#include "ShellFixture.h"
#include "TestFiles.h"
#include "platform/Registry.h"
#include "shell/AboutBox.h"
#include "shell/OptionsDialog.h"
#include "shell/TipList.h"
#include "shell/TipOfDayDialog.h"
#include "shell/TipsAndTricksWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kestrum::testing {
namespace {

// OK stores the four settings; a text that is no whole number is refused
// with a message, keeping the dialog open and the old values.
TEST(OptionsDialogTest, StoresTheSettingsOrRefusesANonNumber) {
  const struct {
    const char *text;
    bool accepted;
    int32_t stored;
  } cases[] = {{"10", true, 10},  {" 7 ", true, 7},   {"0", true, 0},
               {"", false, 10},   {"abc", false, 10}, {"12abc", false, 10},
               {"-1", false, 10}, {"2.5", false, 10}, {"99999999999", false, 10}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    ApplicationOptions options;
    options.MaxRecentFiles = 10;
    options.AskToSave = kTrue16;
    RecordingMessages messages;
    OptionsDialog dialog(options, messages);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_TRUE(dialog.DummyC(2)->isChecked());
    EXPECT_EQ(dialog.DummyT()->text(), QStringLiteral("10"));
    dialog.DummyC(0)->setChecked(true);
    dialog.DummyC(1)->setChecked(true);
    dialog.DummyC(2)->setChecked(false);
    dialog.DummyT()->setText(QString::fromLatin1(c.text));
    dialog.show();
    dialog.findChild<QPushButton *>(QStringLiteral("OKBut"))->click();
    EXPECT_EQ(dialog.isVisible(), !c.accepted);
    EXPECT_EQ(messages.shown.size(), c.accepted ? 0u : 1u);
    EXPECT_EQ(options.MaxRecentFiles, c.stored);
    EXPECT_EQ(options.NoFinishAnnounce, c.accepted ? kTrue16 : kFalse16);
    EXPECT_EQ(options.ShowNewOpenAtStartup, c.accepted ? kTrue16 : kFalse16);
    EXPECT_EQ(options.AskToSave, c.accepted ? kFalse16 : kTrue16);
  }
}

class Tips : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString programDir() const { return dir.path() + QLatin1Char('/'); }
  QString file() const { return dir.filePath(QLatin1String(TipList::kFileName)); }
  QTemporaryDir dir;
  ApplicationOptions options;
};

// Three lines show 1, 2, 3, 1; reopening reads the file again and goes on
// after the tip shown last; CR LF and LF both end a line, empty lines are
// tips, the last line end starts none.
TEST_F(Tips, ShowTheLinesInTurnAndAgainAfterReopening) {
  test::writeAll(file(), "First tip\r\nSecond \xe9t\xe9\r\n\nFourth\n");
  TipList tips;
  QStringList seen;
  {
    TipOfDayDialog dialog(tips, options, programDir());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tip of the Day"));
    seen << dialog.tipText();
    for (int i = 0; i < 4; ++i) {
      dialog.cmdNextTip_Click();
      seen << dialog.tipText();
    }
  }
  EXPECT_EQ(seen,
            (QStringList{"First tip", QString::fromUtf8("Second été"), "", "Fourth", "First tip"}));
  TipOfDayDialog again(tips, options, programDir());
  EXPECT_EQ(again.tipText(), QString::fromUtf8("Second été"));
  EXPECT_EQ(tips.count(), 8);
}

TEST_F(Tips, AMissingFileSaysSoAndNextChangesNothing) {
  TipList tips;
  TipOfDayDialog dialog(tips, options, programDir());
  EXPECT_EQ(dialog.tipText(),
            QStringLiteral("That the TipOfDay.KestrumSettings file was not found? "));
  dialog.cmdNextTip_Click();
  EXPECT_EQ(dialog.tipText(), TipsFileMissingText());
  EXPECT_FALSE(TipList().LoadTips(QString()));
}

TEST_F(Tips, TheCheckBoxSwitchesTheStartupTip) {
  options.ShowTipsAtStartup = kTrue16;
  TipList tips;
  TipOfDayDialog dialog(tips, options, programDir());
  EXPECT_TRUE(dialog.chkLoadTipsAtStartup()->isChecked());
  dialog.chkLoadTipsAtStartup()->click();
  EXPECT_EQ(options.ShowTipsAtStartup, kFalse16);
  dialog.chkLoadTipsAtStartup()->click();
  EXPECT_EQ(options.ShowTipsAtStartup, kTrue16);
}

// The tips shipped with the program are real tips: one per line, none
// empty, and each short enough for the dialog.
TEST_F(Tips, TheShippedFileHoldsTips) {
  TipList tips;
  ASSERT_TRUE(
      tips.LoadTips(QStringLiteral(KESTRUM_PROGRAM_DIR_BUILT) + QLatin1String(TipList::kFileName)));
  EXPECT_GE(tips.count(), 10);
  for (int i = 0; i < tips.count(); ++i) {
    EXPECT_FALSE(tips.CurrentText().isEmpty()) << i;
    EXPECT_LT(tips.CurrentText().size(), 300) << i;
    tips.NextTip();
  }
}

TEST(TipsAndTricks, ShowsTheFourSections) {
  TipsAndTricksWindow window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Kestrum Tips and Tricks"));
  const QString text = window.findChild<QPlainTextEdit *>(QStringLiteral("TipBox"))->toPlainText();
  for (const char *section : {"1. Installation:", "2. FTP Issues:", "3. Templates:", "4. "})
    EXPECT_TRUE(text.contains(QLatin1String(section))) << section;
}

// System Info starts the program the registry names, the first key
// winning; without one (or with a folder lacking MSINFO32.EXE) it says the
// information is unavailable.
TEST(AboutBoxTest, SystemInfoStartsTheRegisteredProgramOrSaysItIsUnavailable) {
  QTemporaryDir registry;
  ASSERT_TRUE(registry.isValid());
  qputenv("KESTRUM_REGISTRY", registry.path().toUtf8());
  const QString first = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
  const QString second = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
  const QString folder = registry.path() + QStringLiteral("/msinfo");
  const struct {
    const char *name;
    QString path, location;
    bool exeInFolder;
    QString started;
  } cases[] = {
      {"neither", "", "", false, ""},
      {"first", "/usr/bin/sysinfo-first", folder, true, "/usr/bin/sysinfo-first"},
      {"second", "", folder, true, folder + "/MSINFO32.EXE"},
      {"second without the program", "", folder, false, ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    regDeleteTree(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE"));
    if (!c.path.isEmpty())
      regSetValue(RegistryRoot::LocalMachine, first, QStringLiteral("PATH"),
                  RegValue::string(c.path));
    if (!c.location.isEmpty())
      regSetValue(RegistryRoot::LocalMachine, second, QStringLiteral("MSINFO"),
                  RegValue::string(c.location));
    QDir().mkpath(folder);
    QFile::remove(folder + QStringLiteral("/MSINFO32.EXE"));
    if (c.exeInFolder)
      test::writeAll(folder + QStringLiteral("/MSINFO32.EXE"), "#!/bin/sh\n");
    RecordingMessages messages;
    QStringList started;
    AboutBox box(messages, [&](const QString &program) {
      started << program;
      return true;
    });
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Kestrum"));
    box.cmdSysInfo_Click();
    EXPECT_EQ(started, c.started.isEmpty() ? QStringList() : QStringList{c.started});
    EXPECT_EQ(messages.texts(), c.started.isEmpty()
                                    ? QStringList{"System Information Is Unavailable At This Time"}
                                    : QStringList());
  }
  qunsetenv("KESTRUM_REGISTRY");
}

} // namespace
} // namespace kestrum::testing
