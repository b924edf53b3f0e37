// Moving the profile between the record, the window and the file.

#include "shell/WindowBinding.h"
#include "ShellFixture.h"
#include "profile/ProfileFile.h"
#include "profile/ProfileText.h"
#include "shell/ControlValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>

#include <limits>

namespace kestrum::testing {
namespace {

// A profile in which every window field holds a value of its own: strings
// with blanks, non-ASCII characters and line breaks; numbers at the ends of
// the 32-bit range; Booleans alternating.
Profile distinctProfile() {
  Profile p;
  int i = 0;
  for (const FieldInfo &field : profileFields()) {
    const QString name = QString::fromLatin1(field.name.data(), qsizetype(field.name.size()));
    switch (field.type) {
    case FieldType::String: {
      static const char *const shapes[] = {" %1 leading and trailing  ", "%1 \u00e4\u00df\u20ac",
                                           "%1 line\r\nnext line", "%1\ttab\x01control", "%1"};
      field.string(p.Settings) = QString::fromUtf8(shapes[i % 5]).arg(name);
      break;
    }
    case FieldType::I32: {
      static const int32_t numbers[] = {std::numeric_limits<int32_t>::min(),
                                        std::numeric_limits<int32_t>::max(), -7, 0, 65536};
      field.i32(p.Settings) = numbers[i % 5] + (i % 5 == 2 ? i : 0);
      break;
    }
    case FieldType::Bool16: field.i16(p.Settings) = i % 2 ? kTrue16 : kFalse16; break;
    case FieldType::I16: field.i16(p.Settings) = int16_t(i); break;
    }
    ++i;
  }
  p.Aliases[0].Text = QStringLiteral("HOSTALIAS a b");
  p.Excludes[0].Text = QStringLiteral("FILEEXCLUDE *.gif");
  return p;
}

// Gives every field that has a control a value no control would produce.
void scrambleWindowFields(Profile &p) {
  for (const FieldInfo &field : profileFields()) {
    if (!hasWindowControl(field))
      continue;
    switch (field.type) {
    case FieldType::String: field.string(p.Settings) = QStringLiteral("\x01scrambled"); break;
    case FieldType::I32: field.i32(p.Settings) = 123456789; break;
    case FieldType::Bool16:
    case FieldType::I16: field.i16(p.Settings) = 99; break;
    }
  }
}

using WindowBinding = ShellFixture;

TEST_F(WindowBinding, EveryFieldRoundTripsThroughTheWindowUnchanged) {
  Profile expected = distinctProfile();
  StampSignatureAndVersion(expected);
  window->profile() = distinctProfile();
  window->ReadWriteWindow(true);
  scrambleWindowFields(window->profile());
  window->ReadWriteWindow(false);

  const QStringList got = DumpProfile(window->profile());
  const QStringList want = DumpProfile(expected);
  ASSERT_EQ(got.size(), want.size());
  for (qsizetype i = 0; i < got.size(); ++i)
    EXPECT_EQ(got[i].toStdString(), want[i].toStdString());
  EXPECT_TRUE(window->profile() == expected);
}

TEST_F(WindowBinding, FieldsWithoutControlAreLeftAloneExceptTheStamp) {
  Profile p;
  p.Settings.Signature = QStringLiteral("Other");
  p.Settings.FormatVersion = 3;
  p.Settings.PeriodOption = 4;
  p.Settings.FromYear = QStringLiteral("2001");
  p.Settings.ReservedInt = 77;
  window->profile() = p;
  window->ReadWriteWindow(false);
  const Profile &q = window->profile();
  EXPECT_EQ(q.Settings.Signature, QStringLiteral("Kestrum"));
  EXPECT_EQ(q.Settings.FormatVersion, 20000);
  EXPECT_EQ(q.Settings.PeriodOption, 4);
  EXPECT_EQ(q.Settings.FromYear, QStringLiteral("2001"));
  EXPECT_EQ(q.Settings.ReservedInt, 77);
}

struct NumberCase {
  const char *text;
  int32_t stored;
};

// Number fields read their text by the leading-number rule, halves to even;
// text outside the 32-bit range is clamped to the nearest end.
TEST_F(WindowBinding, NumberFieldsReadTheirTextByTheLeadingNumberRule) {
  const NumberCase cases[] = {
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {" 1 2\t3", 123},
      {"&H1F", 31},
      {"1e3", 1000},
      {"99999999999", std::numeric_limits<int32_t>::max()},
      {"-1e20", std::numeric_limits<int32_t>::min()},
  };
  const FieldInfo *timeout = findProfileField("FtpTimeout");           // text box
  const FieldInfo *browserTree = findProfileField("BrowserTreeLevel"); // combo box
  for (const FieldInfo *field : {timeout, browserTree}) {
    for (const NumberCase &c : cases) {
      SCOPED_TRACE(std::string(field->name) + " <- '" + c.text + "'");
      setControlText(controlFor(window->controls(), *field), QString::fromUtf8(c.text));
      window->ReadWriteWindow(false);
      EXPECT_EQ(field->i32(window->profile().Settings), c.stored);
    }
  }
}

TEST_F(WindowBinding, CheckBoxesStoreCheckedAndGreyAsTrue) {
  const struct {
    Qt::CheckState state;
    int16_t stored;
  } cases[] = {{Qt::Unchecked, kFalse16}, {Qt::Checked, kTrue16}, {Qt::PartiallyChecked, kTrue16}};
  const FieldInfo *raw = findProfileField("RawBytes");
  auto *box = qobject_cast<QCheckBox *>(controlFor(window->controls(), *raw));
  ASSERT_NE(box, nullptr);
  for (const auto &c : cases) {
    box->setCheckState(c.state);
    window->ReadWriteWindow(false);
    EXPECT_EQ(raw->i16(window->profile().Settings), c.stored) << int(c.state);
  }
  // Loading shows a stored true as checked (a grey box therefore comes back checked).
  window->ReadWriteWindow(true);
  EXPECT_EQ(box->checkState(), Qt::Checked);
}

// A file without a whole record (here: no bytes at all) is not loaded: the
// window keeps showing the profile it had.
TEST_F(WindowBinding, AZeroByteFileLeavesTheWindowAsItWas) {
  window->profile() = distinctProfile();
  window->ReadWriteWindow(true);
  const Profile before = window->profile();
  QFile empty(path(QStringLiteral("Empty.Kestrum")));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  globals().CurrentProfilePath = empty.fileName();

  EXPECT_FALSE(window->OpenData().ok());
  window->ReadWriteWindow(false);
  EXPECT_TRUE(window->profile() == before);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Brannock Kestrum"));
}

TEST_F(WindowBinding, SaveAndReopenKeepEveryByteAndTheEdits) {
  const QString first = path(QStringLiteral("First.Kestrum"));
  Profile original = distinctProfile();
  original.Settings.Signature = QStringLiteral("Foreign");
  original.Settings.FormatVersion = 1;
  ASSERT_TRUE(WriteProfileFile(first, original).ok());

  globals().CurrentProfilePath = first;
  ASSERT_TRUE(window->OpenData().ok());
  const QString second = path(QStringLiteral("Second.Kestrum"));
  globals().CurrentProfilePath = second;
  ASSERT_TRUE(window->SaveData().ok());

  StampSignatureAndVersion(original);
  QFile saved(second);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), encodeProfile(original));
  saved.close();

  // An edit in the window reaches the file and comes back in a new window.
  window->control<QLineEdit>(QStringLiteral("DummyT"), 3)->setText(QStringLiteral("edited.log"));
  window->control<QComboBox>(QStringLiteral("DummyCo"), 0)
      ->setCurrentText(QStringLiteral("LOOKUP"));
  ASSERT_TRUE(window->SaveData().ok());
  EXPECT_TRUE(window->SavedProfile() == window->profile());
  MForm reopened({&messages, &dialogs, &desktop, false});
  ASSERT_TRUE(reopened.OpenData().ok());
  EXPECT_EQ(reopened.control<QLineEdit>(QStringLiteral("DummyT"), 3)->text(),
            QStringLiteral("edited.log"));
  EXPECT_EQ(reopened.profile().Settings.DnsMode, QStringLiteral("LOOKUP"));
  EXPECT_TRUE(reopened.profile() == window->profile());
}

TEST_F(WindowBinding, AFailedLoadOrSaveKeepsTitleRecentFilesAndSavedCopy) {
  globals().CurrentProfilePath = path(QStringLiteral("Good.Kestrum"));
  ASSERT_TRUE(window->SaveData().ok());
  const QString title = window->windowTitle();
  const ApplicationSettings settings = globals().Settings;
  const Profile saved = window->SavedProfile();

  globals().CurrentProfilePath = dir.path(); // a folder: neither readable nor writable as a file
  window->control<QLineEdit>(QStringLiteral("DummyT"), 0)->setText(QStringLiteral("changed"));
  EXPECT_FALSE(window->SaveData().ok());
  EXPECT_FALSE(window->OpenData().ok());
  EXPECT_EQ(window->windowTitle(), title);
  EXPECT_TRUE(globals().Settings == settings);
  EXPECT_TRUE(window->SavedProfile() == saved);
}

// The override frame follows its box whenever a profile is loaded, whatever
// state it was in before.
TEST_F(WindowBinding, LoadedSwitchesEnableOrDisableTheirFrames) {
  const struct {
    const char *field;
    const char *frame;
  } switches[] = {
      {"LogTypeOverride", "LogFrame"}, {"DebugOn", "DumDebug"}, {"WarningsOn", "DumWarning"}};
  for (const auto &s : switches) {
    const FieldInfo *field = findProfileField(s.field);
    QWidget *frame = window->controls().find(QString::fromLatin1(s.frame));
    ASSERT_NE(frame, nullptr) << s.frame;
    for (int16_t before : {kTrue16, kFalse16}) {
      for (int16_t loaded : {kFalse16, kTrue16}) {
        field->i16(window->profile().Settings) = before;
        window->ReadWriteWindow(true);
        field->i16(window->profile().Settings) = loaded;
        window->ReadWriteWindow(true);
        EXPECT_EQ(frame->isEnabled(), loaded == kTrue16)
            << s.frame << " " << before << "->" << loaded;
      }
    }
  }
}

TEST_F(WindowBinding, InitWindowShowsTheStoredModeAndTheProfile) {
  // Any non-zero stored value means offline.
  for (const int16_t stored : {kTrue16, int16_t(1), kFalse16}) {
    globals().Settings.Options.OfflineMode = stored;
    window->InitWindow();
    const bool offline = stored != 0;
    EXPECT_EQ(window->menuEntry(QStringLiteral("mnuFileOffline"))->isChecked(), offline) << stored;
    EXPECT_EQ(window->panelText(QStringLiteral("Mode")),
              offline ? QStringLiteral("offline") : QStringLiteral("online"))
        << stored;
  }
  globals().Settings.Options.OfflineMode = kTrue16;
  window->profile().Settings.ProfileName = QStringLiteral("Shown");
  window->InitWindow();
  EXPECT_TRUE(window->menuEntry(QStringLiteral("mnuFileOffline"))->isChecked());
  EXPECT_EQ(window->panelText(QStringLiteral("Mode")), QStringLiteral("offline"));
  EXPECT_EQ(window->control<QLineEdit>(QStringLiteral("DummyT"), 0)->text(),
            QStringLiteral("Shown"));
}

} // namespace
} // namespace kestrum::testing
