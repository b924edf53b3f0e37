// The run dialog frmSett: period options, the From/To boxes, the stored
// choice and the FROM/TO commands it leaves for the configuration writer.

#include "shell/RunDialog.h"
#include "ShellFixture.h"
#include "profile/Profile.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrum::testing {
namespace {

const char *const kBoxes[] = {"FD", "FM", "FY", "TD", "TM", "TY"};

struct RunDialogTest : ::testing::Test {
  // Opens a fresh dialog on profile, as the Run menu does each time.
  std::unique_ptr<RunDialog> open() {
    return std::make_unique<RunDialog>(
        profile, timeSpecs, [this](bool showResult) { runs.push_back(showResult); }, messages);
  }
  void type(RunDialog &d, const QStringList &texts) {
    for (int b = 0; b < 6; ++b)
      d.box(QString::fromLatin1(kBoxes[b]))->setText(texts[b]);
  }
  static void click(RunDialog &d, const char *button) {
    d.findChild<QPushButton *>(QString::fromLatin1(button))->click();
  }

  Profile profile;
  QString timeSpecs = QStringLiteral("FROM earlier\r\nTO earlier");
  std::vector<bool> runs;
  RecordingMessages messages;
};

// A box the analyser could not read would make it analyse the whole log:
// refused with a message, nothing stored, no run, the dialog still open.
TEST_F(RunDialogTest, ABoxThatIsNoNumberIsRefused) {
  auto d = open();
  d->Opt1(0)->click();
  type(*d, {"2026", "o9", "01", "2026", "09", "30"});
  click(*d, "Start");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].text.contains(QLatin1String("\"o9\"")));
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(timeSpecs, QStringLiteral("FROM earlier\r\nTO earlier"));
  EXPECT_EQ(profile.Settings.FromMonth, QString());

  type(*d, {"2026", "09", "01", "2026", "09", "30"});
  click(*d, "Start");
  EXPECT_EQ(timeSpecs, QStringLiteral("FROM 260901\r\nTO 260930"));
  EXPECT_EQ(runs.size(), 1u);
}

TEST_F(RunDialogTest, EachOptionSetsTheTimeSpecsTheFrameAndTheStoredChoice) {
  const QStringList typed{"25", "09", "01", "25", "09", "30"};
  const struct {
    int option;
    const char *timeSpecs;
    bool frameEnabled;
  } cases[] = {
      {0, "FROM 250901\r\nTO 250930", true},         {1, "FROM 250901\r\nTO 250930", true},
      {2, "FROM -00-00-07\r\nTO -00-00-00", false},  {3, "FROM -00-00-30\r\nTO -00-00-00", false},
      {4, "FROM -00-00-90\r\nTO -00-00-00", false},  {5, "FROM -00-00-180\r\nTO -00-00-00", false},
      {6, "FROM -00-00-360\r\nTO -00-00-00", false}, {7, "", false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.option);
    runs.clear();
    auto dialog = open();
    type(*dialog, typed);
    dialog->Opt1(c.option)->click();
    EXPECT_EQ(dialog->OptTrans()->text(), QString::number(c.option));
    EXPECT_EQ(dialog->FTA()->isEnabled(), c.frameEnabled);
    click(*dialog, "Start");
    EXPECT_EQ(timeSpecs, QString::fromLatin1(c.timeSpecs));
    EXPECT_EQ(profile.Settings.PeriodOption, c.option);
    // The boxes are stored even when the option does not use them.
    EXPECT_EQ(profile.Settings.FromYear, QStringLiteral("25"));
    EXPECT_EQ(profile.Settings.ToDay, QStringLiteral("30"));
    EXPECT_EQ(runs, std::vector<bool>{true});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
  }
}

TEST_F(RunDialogTest, RelativeBoxesAndEmptyAbsoluteBoxesPassThroughUnchanged) {
  auto dialog = open();
  type(*dialog, {"-00", "-00", "-30", "-00", "-00", "-00"});
  dialog->Opt1(1)->click();
  click(*dialog, "Start");
  EXPECT_EQ(timeSpecs, QStringLiteral("FROM -00-00-30\r\nTO -00-00-00"));

  dialog = open();
  type(*dialog, {"", "", "", "", "", ""});
  dialog->Opt1(0)->click();
  click(*dialog, "Start");
  EXPECT_EQ(timeSpecs, QStringLiteral("FROM \r\nTO "));
}

TEST_F(RunDialogTest, ReopeningShowsTheLastChoiceWithShowOutputCheckedAgain) {
  auto dialog = open();
  type(*dialog, {"24", "01", "02", "24", "03", "04"});
  dialog->Opt1(3)->click();
  dialog->DoShow()->setChecked(false);
  click(*dialog, "Start");
  EXPECT_EQ(runs, std::vector<bool>{false});

  dialog = open();
  EXPECT_TRUE(dialog->Opt1(3)->isChecked());
  EXPECT_EQ(dialog->OptTrans()->text(), QStringLiteral("3"));
  EXPECT_FALSE(dialog->FTA()->isEnabled());
  EXPECT_TRUE(dialog->DoShow()->isChecked());
  const QStringList expected{"24", "01", "02", "24", "03", "04"};
  for (int b = 0; b < 6; ++b)
    EXPECT_EQ(dialog->box(QString::fromLatin1(kBoxes[b]))->text(), expected[b]) << kBoxes[b];
}

TEST_F(RunDialogTest, CancelStoresNothingAndStartsNoRun) {
  profile.Settings.PeriodOption = 2;
  auto dialog = open();
  type(*dialog, {"1", "2", "3", "4", "5", "6"});
  dialog->Opt1(7)->click();
  click(*dialog, "CancelBut");
  EXPECT_EQ(profile.Settings.PeriodOption, 2);
  EXPECT_TRUE(profile.Settings.FromYear.isEmpty());
  EXPECT_EQ(timeSpecs, QStringLiteral("FROM earlier\r\nTO earlier"));
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

// A profile may hold an option the dialog never writes: no option is shown
// selected, and a run keeps the reporting period it had.
TEST_F(RunDialogTest, AStoredOptionOutsideTheEightSelectsNoneAndKeepsTheTimeSpecs) {
  for (int stored : {8, -1}) {
    profile.Settings.PeriodOption = stored;
    auto dialog = open();
    for (int i = 0; i < 8; ++i)
      EXPECT_FALSE(dialog->Opt1(i)->isChecked()) << stored << " " << i;
    click(*dialog, "Start");
    EXPECT_EQ(timeSpecs, QStringLiteral("FROM earlier\r\nTO earlier"));
    EXPECT_EQ(profile.Settings.PeriodOption, stored);
  }
}

// The hidden text and the option buttons keep each other in step.
TEST_F(RunDialogTest, TheHiddenOptionTextSelectsTheOption) {
  auto dialog = open();
  dialog->OptTrans()->setText(QStringLiteral("5"));
  EXPECT_TRUE(dialog->Opt1(5)->isChecked());
  EXPECT_FALSE(dialog->FTA()->isEnabled());
  dialog->OptTrans()->setText(QStringLiteral("1"));
  EXPECT_TRUE(dialog->Opt1(1)->isChecked());
  EXPECT_TRUE(dialog->FTA()->isEnabled());
}

} // namespace
} // namespace kestrum::testing
