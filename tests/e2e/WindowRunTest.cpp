// "Run Analog and show result" from the main window's menu, with the real
// analyser and the window's own Tellurix control.

#include "RunFixture.h"
#include "shell/Globals.h"
#include "shell/MForm.h"
#include "shell/RunDialog.h"
#include "shell/TellurixHost.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace kestrum::testing {
namespace {

class WindowRun : public RunFixture {
protected:
  void SetUp() override {
    RunFixture::SetUp();
    ProgramGlobals &g = globals();
    g = ProgramGlobals{};
    g.ProgramDir = programDir();
    g.CurrentProfilePath = folder.file(QStringLiteral("Template/Default.Kestrum"));
    window = std::make_unique<MForm>(MFormServices{&messages, &dialogs, &desktop, true});
    ASSERT_NE(window->Tellurix()->control(), nullptr) << "the Tellurix control is not registered";
    ASSERT_TRUE(window->OpenData().ok());
    window->InitWindow();
  }
  void TearDown() override {
    window.reset();
    globals() = ProgramGlobals{};
    RunFixture::TearDown();
  }
  bool finish() {
    return waitFor([this] { return window->Pipeline().RunningProgram() == RunPipeline::None; });
  }
  QString panel(const char *key) const { return window->panelText(QLatin1String(key)); }

  ScriptedFileDialogs dialogs;
  RecordingDesktop desktop;
  std::unique_ptr<MForm> window;
};

TEST_F(WindowRun, RunAndShowResultProducesOpensAndAnnouncesTheReport) {
  QString statusAtAnnouncement;
  messages.onShow = [&] { statusAtAnnouncement = panel("Status"); };

  window->menuEntry(QStringLiteral("mnuRunResult"))->trigger();
  EXPECT_EQ(panel("Main"), QStringLiteral("running Analog..."));
  EXPECT_EQ(panel("Status"), QStringLiteral("running"));
  ASSERT_TRUE(finish());

  const QString report = programDir() + QStringLiteral("./Report.html");
  EXPECT_TRUE(readText(report).contains(QStringLiteral("Successful requests")));
  EXPECT_EQ(desktop.opened, QStringList{report});
  static const QRegularExpression time(QStringLiteral("^Time:  \\d+ min  \\d+ sec$"));
  EXPECT_TRUE(time.match(panel("RunTime")).hasMatch()) << qPrintable(panel("RunTime"));
  EXPECT_EQ(panel("Main"), QStringLiteral("Analog run finished"));
  EXPECT_EQ(panel("Status"), QStringLiteral("editing"));

  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, QStringLiteral("<beep>"));
  EXPECT_EQ(messages.shown[1].title, QStringLiteral("Analog finished"));
  EXPECT_EQ(messages.shown[1].icon, MessageIcon::Information);
  EXPECT_EQ(messages.shown[1].text,
            QStringLiteral("Analog finished running\r\n") + panel("RunTime"));
  EXPECT_EQ(statusAtAnnouncement, QStringLiteral("finished"));
  EXPECT_EQ(QDir::currentPath(), startDir);

  // The toolbar's plain run neither opens the report again nor, with the
  // announcement switched off, beeps or shows a message.
  globals().Settings.Options.NoFinishAnnounce = kTrue16;
  QFile::remove(report);
  window->ToolB_ButtonClick(QStringLiteral("Run"));
  ASSERT_TRUE(finish());
  EXPECT_TRUE(QFile::exists(report));
  EXPECT_EQ(desktop.opened.size(), 1);
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(panel("Status"), QStringLiteral("editing"));

  // "Show Results" opens the same report; "Show the config file" opens
  // analog.cfg in the editor.
  window->ToolB_ButtonClick(QStringLiteral("See"));
  EXPECT_EQ(desktop.opened, (QStringList{report, report}));
  window->menuEntry(QStringLiteral("mnuRunCreateShow"))->trigger();
  EXPECT_EQ(desktop.edited, QStringList{programDir() + QStringLiteral("analog.cfg")});
}

// The run dialog's period reaches the analyser and stays for later runs
// from the menu.
TEST_F(WindowRun, TheRunDialogsPeriodStaysForLaterRuns) {
  globals().Settings.Options.NoFinishAnnounce = kTrue16;
  window->ToolB_ButtonClick(QStringLiteral("RunAndSettings"));
  auto *frmSett = window->findChild<RunDialog *>(QStringLiteral("frmSett"));
  ASSERT_NE(frmSett, nullptr);
  EXPECT_TRUE(frmSett->isModal());
  frmSett->Opt1(2)->click(); // Last Week
  frmSett->findChild<QPushButton *>(QStringLiteral("Start"))->click();
  EXPECT_EQ(window->profile().Settings.PeriodOption, 2);
  ASSERT_TRUE(finish());
  const QString cfg = programDir() + QStringLiteral("analog.cfg");
  EXPECT_TRUE(readText(cfg).contains(QStringLiteral("FROM -00-00-07\r\nTO -00-00-00\r\n")));
  EXPECT_EQ(desktop.opened, QStringList{programDir() + QStringLiteral("./Report.html")});

  QFile::remove(cfg);
  window->menuEntry(QStringLiteral("mnuRunAnalog"))->trigger();
  ASSERT_TRUE(finish());
  EXPECT_TRUE(readText(cfg).contains(QStringLiteral("FROM -00-00-07\r\nTO -00-00-00\r\n")));
  EXPECT_EQ(desktop.opened.size(), 1);
}

} // namespace
} // namespace kestrum::testing
