// The window's frame and pages as built from their tables.

#include "ShellFixture.h"
#include "shell/DeleteUnresolvedWindow.h"
#include "shell/ControlValues.h"
#include "shell/MainWindowTables.h"
#include "shell/PageBuilder.h"
#include "shell/PageTable.h"
#include "shell/TabStrip.h"
#include "shell/WindowBinding.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QToolBar>

namespace kestrum::testing {
namespace {

using MainWindow = ShellFixture;

QString key(const char *control, int index) {
  return QStringLiteral("%1(%2)").arg(QString::fromLatin1(control)).arg(index);
}

TEST_F(MainWindow, StartsWithTheProductTitleAndTheFirstPageInFront) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Brannock Kestrum"));
  EXPECT_EQ(window->MainTab()->currentIndex(), 0);
  EXPECT_EQ(window->FrontPage(), window->MCont(0));
}

// At 1024 by 728 (room for the window frame and a desktop panel) every page
// shows whole, without scrolling.
TEST_F(MainWindow, FitsOnA1024By768Screen) {
  const QSize needed = window->minimumSizeHint();
  EXPECT_LE(needed.width(), 1024);
  EXPECT_LE(needed.height(), 768 - 40);
  window->resize(1024, 768 - 40);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_EQ(window->size(), QSize(1024, 768 - 40));
  // The pages scroll only when they need more room than the window gives.
  const QSize room = window->FrontPage()->parentWidget()->parentWidget()->size();
  for (int page = 0; page < window->MainTab()->count(); ++page) {
    EXPECT_LE(window->MCont(page)->minimumSizeHint().width(), room.width()) << page;
    EXPECT_LE(window->MCont(page)->minimumSizeHint().height(), room.height()) << page;
  }
}

TEST_F(MainWindow, EachTabBringsExactlyItsOwnPageToTheFront) {
  const auto &pages = pageTable();
  ASSERT_EQ(pages.size(), 19u);
  ASSERT_EQ(window->MainTab()->count(), 19);
  window->control<QLineEdit>(QStringLiteral("DummyT"), 0)->setText(QStringLiteral("typed"));
  for (int tab = 18; tab >= 0; --tab) {
    EXPECT_EQ(window->MainTab()->tabText(tab), QString::fromUtf8(pages[size_t(tab)].caption));
    EXPECT_EQ(window->MainTab()->tabToolTip(tab), QString::fromUtf8(pages[size_t(tab)].tooltip));
    QTest::mouseClick(window->MainTab()->tabButton(tab), Qt::LeftButton);
    EXPECT_EQ(window->FrontPage(), window->MCont(tab)) << tab;
  }
  // Switching pages re-reads nothing from the profile record.
  EXPECT_EQ(window->control<QLineEdit>(QStringLiteral("DummyT"), 0)->text(),
            QStringLiteral("typed"));
}

// Every field with a control is on exactly one page, in exactly one row, and
// its control is of the kind its type needs.
TEST_F(MainWindow, EveryBoundFieldIsReachableOnExactlyOnePage) {
  QHash<QString, int> rowsPerControl;
  QHash<QString, int> pageOfControl;
  const auto &pages = pageTable();
  for (size_t p = 0; p < pages.size(); ++p)
    forEachRow(pages[p], [&](const PageRow &row) {
      if (!row.control)
        return;
      const QString k = key(row.control, row.index);
      ++rowsPerControl[k];
      pageOfControl[k] = int(p);
    });
  for (auto it = rowsPerControl.cbegin(); it != rowsPerControl.cend(); ++it)
    EXPECT_EQ(it.value(), 1) << it.key().toStdString() << " appears in several rows";

  int bound = 0;
  QSet<QWidget *> seen;
  for (const FieldInfo &field : profileFields()) {
    if (!hasWindowControl(field))
      continue;
    ++bound;
    SCOPED_TRACE(std::string(field.name));
    const std::string_view kind = controlKindName(field.control);
    const QString k = key(std::string(kind).c_str(), field.controlIndex);
    ASSERT_TRUE(pageOfControl.contains(k)) << k.toStdString();
    QWidget *control = controlFor(window->controls(), field);
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(seen.contains(control));
    seen.insert(control);
    EXPECT_TRUE(window->MCont(pageOfControl[k])->isAncestorOf(control));
    EXPECT_EQ(qobject_cast<QCheckBox *>(control) != nullptr, field.type == FieldType::Bool16);
  }
  EXPECT_EQ(bound, 214);
}

// Every input control explains itself, and Tab walks each page's controls
// in the order the page lists them.
TEST_F(MainWindow, ControlsHaveTooltipsAndFollowThePageOrderOnTab) {
  const auto &pages = pageTable();
  for (size_t p = 0; p < pages.size(); ++p) {
    QList<QWidget *> listed;
    forEachRow(pages[p], [&](const PageRow &row) {
      if (!row.control || row.kind == RowKind::HelpText)
        return;
      QWidget *control = window->controls().find(QString::fromLatin1(row.control), row.index);
      ASSERT_NE(control, nullptr) << row.control << row.index;
      EXPECT_FALSE(control->toolTip().isEmpty()) << row.control << "(" << row.index << ")";
      listed << control;
    });
    QList<QWidget *> chain;
    QWidget *w = window->MainTab()->tabButton(window->MainTab()->count() - 1);
    for (int steps = 0; steps < 2000 && chain.size() < listed.size(); ++steps) {
      w = w->nextInFocusChain();
      if (listed.contains(w) && !chain.contains(w))
        chain << w;
    }
    EXPECT_TRUE(chain == listed) << pages[p].caption;
  }
}

// A report's activation box names its report in the tooltip; every sorting
// box explains the click order.
TEST_F(MainWindow, ReportBoxTooltipsNameTheReportOrExplainTheOrder) {
  for (int i = 0; i < kReportCount; ++i) {
    auto *activation = window->control<QCheckBox>(QStringLiteral("ActReport"), i);
    auto *sorting = window->control<QCheckBox>(QStringLiteral("RepSort"), i);
    EXPECT_TRUE(activation->toolTip().contains(activation->text())) << i;
    EXPECT_EQ(sorting->toolTip(), QStringLiteral("click the reports in the order you want them to "
                                                 "have. For default sorting you don't have to do "
                                                 "this"))
        << i;
  }
}

TEST_F(MainWindow, ThePasswordNeverShowsItsCharacters) {
  auto *password = window->control<QLineEdit>(QStringLiteral("DummyT"), 63);
  ASSERT_NE(password, nullptr);
  password->setText(QStringLiteral("secret"));
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(password->displayText().contains(QStringLiteral("secret")), false);
}

// Combo boxes keep text that is not in their list, with its case, as typed:
// neither completion while typing nor Enter turns it into a listed choice.
TEST_F(MainWindow, TypedComboTextIsStoredAsTyped) {
  const struct {
    int index;
    const char *typed;
  } cases[] = {{0, "rEAD"}, {0, "REA"}, {22, "REQ"}, {8, "r"}, {42, "COM"}, {42, "CUSTOM-FORMAT"}};
  window->control<QCheckBox>(QStringLiteral("LogCheck"))->setChecked(true); // frame of 42
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  for (const auto &c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + " <- " + c.typed);
    auto *combo = window->control<QComboBox>(QStringLiteral("DummyCo"), c.index);
    ASSERT_NE(combo, nullptr);
    for (int page = 0; page < window->MainTab()->count(); ++page)
      if (window->MCont(page)->isAncestorOf(combo))
        window->MainTab()->setCurrentIndex(page);
    combo->setFocus();
    ASSERT_TRUE(combo->hasFocus());
    combo->clearEditText();
    QTest::keyClicks(combo->lineEdit(), QString::fromUtf8(c.typed));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    window->ReadWriteWindow(false);
    for (const FieldInfo &field : profileFields()) {
      if (field.control != ControlKind::DummyCo || field.controlIndex != c.index)
        continue;
      EXPECT_EQ(field.string(window->profile().Settings), QString::fromUtf8(c.typed));
    }
  }
}

TEST_F(MainWindow, MenusFollowTheMenuTable) {
  QStringList topLevel;
  for (QAction *menu : window->menuBar()->actions())
    topLevel << menu->text();
  EXPECT_EQ(topLevel, (QStringList{"&File", "&Run", "&Tools", "&Help"}));

  // Walk the built menus and the table side by side, separators included.
  QList<QAction *> built;
  for (QAction *menu : window->menuBar()->actions()) {
    built << menu;
    built << menu->menu()->actions();
  }
  const auto table = menuTable();
  ASSERT_EQ(built.size(), qsizetype(table.size()));
  for (size_t i = 0; i < table.size(); ++i) {
    const MenuEntryDef &def = table[i];
    QAction *action = built[qsizetype(i)];
    SCOPED_TRACE(std::string(def.name) + " " + std::to_string(def.index));
    if (std::string_view(def.name) == "-") {
      EXPECT_TRUE(action->isSeparator());
      continue;
    }
    if (!def.topLevel) {
      EXPECT_EQ(action, window->menuEntry(QString::fromLatin1(def.name), def.index));
    }
    if (def.index < 0) {
      EXPECT_EQ(action->text(), QString::fromUtf8(def.caption));
    }
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(def.shortcut)));
  }
  for (int i = 0; i < kQuickMenuCount; ++i)
    EXPECT_FALSE(window->menuEntry(QStringLiteral("mnuFileQuick"), i)->isVisible());
}

// A menu key runs its entry also while a text box, a combo box or the
// multi-line box has the focus; Ctrl+A in particular does not select text.
TEST_F(MainWindow, MenuKeysRunTheirEntriesWhereverTheFocusIs) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QWidget *const focused[] = {window->control<QLineEdit>(QStringLiteral("DummyT"), 0),
                              window->control<QComboBox>(QStringLiteral("DummyCo"), 42)->lineEdit(),
                              window->controls().find(QStringLiteral("DummyT"), 21)};
  globals().CurrentProfilePath = path(QStringLiteral("Keys.Kestrum"));
  window->control<QCheckBox>(QStringLiteral("LogCheck"))->setChecked(true); // frame of 42
  for (const MenuEntryDef &def : menuTable()) {
    if (!*def.shortcut)
      continue;
    QAction *entry = window->menuEntry(QString::fromLatin1(def.name), def.index);
    for (QWidget *widget : focused) {
      for (int page = 0; page < window->MainTab()->count(); ++page)
        if (window->MCont(page)->isAncestorOf(widget))
          window->MainTab()->setCurrentIndex(page);
      widget->setFocus();
      ASSERT_TRUE(widget->hasFocus());
      int triggered = 0;
      auto connection = QObject::connect(entry, &QAction::triggered, [&] { ++triggered; });
      QTest::keySequence(widget, QKeySequence(QString::fromLatin1(def.shortcut)));
      QObject::disconnect(connection);
      EXPECT_EQ(triggered, 1) << def.name << " in " << widget->metaObject()->className();
    }
  }
}

// Ctrl+Tab / Ctrl+PgDown and Ctrl+Shift+Tab / Ctrl+PgUp page forward and
// back through all 19 pages from a text box, wrapping around.
TEST_F(MainWindow, KeysPageThroughAllPagesFromATextBox) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const int pages = window->MainTab()->count();
  const struct {
    const char *name;
    QKeyCombination key;
    int step;
  } cases[] = {
      {"Ctrl+Tab", Qt::CTRL | Qt::Key_Tab, 1},
      {"Ctrl+PgDown", Qt::CTRL | Qt::Key_PageDown, 1},
      {"Ctrl+Shift+Tab", Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
      {"Ctrl+PgUp", Qt::CTRL | Qt::Key_PageUp, -1},
  };
  auto *text = window->control<QLineEdit>(QStringLiteral("DummyT"), 0);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    window->MainTab()->setCurrentIndex(0);
    text->setFocus();
    ASSERT_TRUE(text->hasFocus());
    int expected = 0;
    for (int i = 0; i < pages; ++i) {
      // The focus stays where it was, on a page that may be hidden now: the
      // keys still page from there.
      QTest::keyClick(QApplication::focusWidget(), c.key.key(), c.key.keyboardModifiers());
      expected = (expected + c.step + pages) % pages;
      ASSERT_EQ(window->MainTab()->currentIndex(), expected) << i;
      EXPECT_EQ(window->FrontPage(), window->MCont(expected));
    }
    EXPECT_EQ(expected, 0); // all the way round
  }
  EXPECT_EQ(text->text(), QString()); // no key reached the text box
}

// The front tab is marked by more than the focus frame: its fill differs
// from the other tabs', whichever tab has the focus.
TEST_F(MainWindow, TheFrontTabLooksSelected) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  TabStrip *strip = window->MainTab();
  strip->setCurrentIndex(2);
  strip->tabButton(5)->setFocus();
  const auto fill = [](QWidget *tab) {
    const QImage image = tab->grab().toImage();
    return image.pixelColor(image.width() / 2, 3);
  };
  const QColor front = fill(strip->tabButton(2));
  const QColor focused = fill(strip->tabButton(5));
  const QColor plain = fill(strip->tabButton(7));
  EXPECT_EQ(focused, plain);
  EXPECT_GE(ContrastRatio(front, plain), 2.0);
  EXPECT_TRUE(strip->tabButton(2)->font().bold() || strip->tabButton(2)->isChecked());
}

// One label width on every page; hints read at 4.5:1 or better; every
// row's hint (the Show Log button's too) is a label beside the row.
TEST_F(MainWindow, PagesShareOneLabelColumnAndReadableHints) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QSet<int> controlStarts;
  for (int page = 0; page < window->MainTab()->count(); ++page) {
    window->MainTab()->setCurrentIndex(page);
    QApplication::processEvents();
    // The left column of every page, frames included.
    for (QLabel *label : window->MCont(page)->findChildren<QLabel *>()) {
      if (!label->buddy())
        continue;
      const int x = label->buddy()->mapTo(window->MCont(page), QPoint()).x();
      if (x < window->MCont(page)->width() / 3)
        controlStarts << x;
    }
  }
  EXPECT_EQ(controlStarts.size(), 1) << controlStarts.size() << " different starts";

  const QPalette palette = window->MCont(0)->palette();
  EXPECT_GE(ContrastRatio(HintTextColor(palette), palette.color(QPalette::Window)), 4.5);
  const QString showLogHint =
      QStringLiteral("you can reditect the errors to a file instead of the screen; leave blank "
                     "for screen; example: Errors.txt");
  int hintLabels = 0;
  for (QLabel *label : window->MCont(9)->findChildren<QLabel *>())
    if (label->text() == showLogHint) {
      ++hintLabels;
      EXPECT_GE(ContrastRatio(label->palette().color(QPalette::WindowText),
                              palette.color(QPalette::Window)),
                4.5);
    }
  EXPECT_EQ(hintLabels, 2); // the error-log row and the Show Log row
}

// The tab strip wraps into more rows where the window is narrow or the font
// large, so the window fits a 1024-pixel screen at 11 pt.
TEST_F(MainWindow, TheTabStripWrapsAtLargerFonts) {
  const QFont normal = QApplication::font();
  QFont large = normal;
  large.setPointSize(11);
  QApplication::setFont(large);
  {
    MForm big({.messages = &messages,
               .fileDialogs = &dialogs,
               .desktop = &desktop,
               .hostTellurix = false,
               .windows = &windows});
    EXPECT_LE(big.minimumSizeHint().width(), 1024);
    big.resize(1000, 740);
    big.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&big));
    EXPECT_GE(big.MainTab()->rowCount(), 2);
    for (int i = 0; i < big.MainTab()->count(); ++i)
      EXPECT_TRUE(big.MainTab()->tabButton(i)->isVisible());
    big.resize(700, 740);
    QApplication::processEvents();
    EXPECT_GT(big.MainTab()->rowCount(), 2);
  }
  QApplication::setFont(normal);
}

// Entries whose work is not built yet say so instead of doing nothing; the
// dialogs open from their entries.
TEST_F(MainWindow, MenuEntriesOpenTheirDialogs) {
  const struct {
    const char *entry;
    const char *dialog;
  } cases[] = {{"mnuToolsOptions", "Options"},
               {"mnuHelpTips", "TipsAndTricks"},
               {"mnuHelpTOD", "TipOfDay"},
               {"mnuHelpAbout", "About"}};
  for (const auto &c : cases) {
    windows.shown.clear();
    messages.shown.clear();
    window->menuEntry(QString::fromLatin1(c.entry))->trigger();
    EXPECT_EQ(windows.shown, QStringList{QString::fromLatin1(c.dialog)}) << c.entry;
    EXPECT_TRUE(messages.shown.empty());
  }
  // The DNS clean-up window is not modal: one instance, shown again.
  window->menuEntry(QStringLiteral("mnuToolsDeleteURL"))->trigger();
  window->menuEntry(QStringLiteral("mnuToolsDeleteURL"))->trigger();
  const auto cleanups = window->findChildren<DeleteUnresolvedWindow *>();
  ASSERT_EQ(cleanups.size(), 1);
  EXPECT_TRUE(cleanups[0]->isVisible());
  EXPECT_FALSE(cleanups[0]->isModal());
}

// Closing the window runs Exit: with the save prompt cancelled it stays
// open; otherwise the settings file is written.
TEST_F(MainWindow, ClosingRunsExit) {
  globals().CurrentProfilePath = path(QStringLiteral("Open.Kestrum"));
  window->SaveData();
  window->show();
  globals().Settings.Options.AskToSave = kTrue16;
  window->control<QLineEdit>(QStringLiteral("DummyT"), 0)->setText(QStringLiteral("changed"));
  messages.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(QFile::exists(globals().SettingsFile));
  messages.answers = {MessageAnswer::No};
  EXPECT_TRUE(window->close());
  ApplicationSettings written;
  ASSERT_TRUE(ReadSettingsFile(globals().SettingsFile, written).ok());
  EXPECT_EQ(written.RecentFiles[0].Path, globals().CurrentProfilePath);
}

TEST_F(MainWindow, ToolbarButtonsRunTheirMenuEntries) {
  QStringList keys;
  for (QAction *action : window->ToolB()->actions())
    if (!action->isSeparator())
      keys << action->objectName();
  EXPECT_EQ(keys, (QStringList{"New", "Open", "Save", "Run", "RunAndSee", "RunAndSettings",
                               "ConSet", "See"}));
  for (const ToolButtonDef &def : toolbarTable()) {
    QAction *button = window->toolButton(QString::fromLatin1(def.key));
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(def.tooltip));
    int triggered = 0;
    auto connection = QObject::connect(window->menuEntry(QString::fromLatin1(def.menuEntry)),
                                       &QAction::triggered, [&] { ++triggered; });
    button->trigger();
    QObject::disconnect(connection);
    EXPECT_EQ(triggered, 1) << def.key;
  }
  window->ToolB_ButtonClick(QStringLiteral("NoSuchKey")); // does nothing
}

TEST_F(MainWindow, StatusBarPanelsStartWithTheirTexts) {
  for (const StatusPanelDef &def : statusPanelTable())
    EXPECT_EQ(window->panelText(QString::fromLatin1(def.key)), QString::fromUtf8(def.text))
        << def.key;
}

TEST_F(MainWindow, SetModeShowsTheModeEverywhere) {
  for (bool offline : {true, false, true}) {
    window->SetMode(offline);
    EXPECT_EQ(window->menuEntry(QStringLiteral("mnuFileOffline"))->isChecked(), offline);
    EXPECT_EQ(window->panelText(QStringLiteral("Mode")), offline ? "offline" : "online");
    EXPECT_EQ(globals().Settings.Options.OfflineMode, offline ? kTrue16 : kFalse16);
    EXPECT_EQ(
        window->toolButton(QStringLiteral("ConSet"))->icon().cacheKey(),
        window->image(offline ? QStringLiteral("ConNo") : QStringLiteral("ConYes")).cacheKey());
  }
  // The connection button switches to the opposite of the check mark.
  window->ToolB_ButtonClick(QStringLiteral("ConSet"));
  EXPECT_EQ(window->panelText(QStringLiteral("Mode")), QStringLiteral("online"));
  window->ToolB_ButtonClick(QStringLiteral("ConSet"));
  EXPECT_EQ(window->panelText(QStringLiteral("Mode")), QStringLiteral("offline"));
}

TEST_F(MainWindow, FramesFollowTheirCheckBoxesWhenClicked) {
  const struct {
    const char *box;
    const char *frame;
  } switches[] = {
      {"LogCheck", "LogFrame"}, {"DumShowDebug", "DumDebug"}, {"DumShowWarning", "DumWarning"}};
  window->show();
  for (const auto &s : switches) {
    auto *box = window->control<QCheckBox>(QString::fromLatin1(s.box));
    QWidget *frame = window->controls().find(QString::fromLatin1(s.frame));
    for (int click = 0; click < 3; ++click) {
      box->click();
      EXPECT_EQ(frame->isEnabled(), box->isChecked()) << s.box << " click " << click;
    }
  }
}

TEST_F(MainWindow, HelpButtonsOpenTheirFilesInTheProgramFolder) {
  const QString dirPath = globals().ProgramDir;
  window->control<QPushButton>(QStringLiteral("ButShowHirarchical"))->click();
  window->control<QPushButton>(QStringLiteral("ButUseQuickDNS"))->click();
  window->menuEntry(QStringLiteral("mnuHelpAnalogHelp"))->trigger();
  EXPECT_EQ(desktop.opened, (QStringList{dirPath + "docs/hierreps.html", dirPath + "QuickDNS.html",
                                         dirPath + "docs/Readme.html"}));

  // "Show Log" opens the error log in the editor; with no log named, the folder.
  auto *errFile = window->control<QLineEdit>(QStringLiteral("DummyT"), 67);
  for (const QString &name : {QString(), QStringLiteral("Errors.txt")}) {
    errFile->setText(name);
    window->control<QPushButton>(QStringLiteral("DoShow"))->click();
    EXPECT_EQ(desktop.edited.last(), dirPath + name);
  }
}

TEST_F(MainWindow, ShowHelpOpensTheInformationWindowWithoutBlocking) {
  window->control<QPushButton>(QStringLiteral("ShowInfo"))->click();
  QWidget *info = nullptr;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w->windowTitle() == QLatin1String("Information") && w->isVisible())
      info = w;
  ASSERT_NE(info, nullptr);
  EXPECT_FALSE(info->isModal());
  auto *ok = info->findChild<QPushButton *>();
  ASSERT_NE(ok, nullptr);
  ok->click();
  EXPECT_FALSE(info->isVisible());
}

TEST_F(MainWindow, FileSaveWritesTheProfileOrSaysItCouldNot) {
  globals().CurrentProfilePath = path(QStringLiteral("Saved.Kestrum"));
  window->control<QLineEdit>(QStringLiteral("DummyT"), 0)->setText(QStringLiteral("Mine"));
  window->menuEntry(QStringLiteral("mnuFileSave"))->trigger();
  EXPECT_TRUE(QFile::exists(globals().CurrentProfilePath));
  EXPECT_EQ(window->windowTitle(),
            QStringLiteral("Kestrum - Mine (%1)").arg(globals().CurrentProfilePath));
  EXPECT_TRUE(messages.shown.empty());

  globals().CurrentProfilePath = dir.path();
  window->menuEntry(QStringLiteral("mnuFileSave"))->trigger();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, QStringLiteral("Could not save file"));
  EXPECT_EQ(messages.shown[0].title, QStringLiteral("Error"));
}

TEST_F(MainWindow, SavingATemplateAsksForANewFile) {
  const QString templatePath = globals().ProgramDir + QStringLiteral("Template/Default.Kestrum");
  const QString otherTemplate = globals().ProgramDir + QStringLiteral("Template/Plain.Kestrum");
  const QString chosen = path(QStringLiteral("Mine.Kestrum"));
  const struct {
    QString current;
    QString answer;
    QString savedTo;
  } cases[] = {
      {templatePath, chosen, chosen},
      {otherTemplate, chosen, chosen},
      {templatePath, QString(), templatePath}, // cancelled: nothing changes
  };
  for (const auto &c : cases) {
    QFile::remove(chosen);
    globals().CurrentProfilePath = c.current;
    globals().Settings.Options.LastDir = QStringLiteral("/start/");
    dialogs.asked.clear();
    dialogs.answer = c.answer;
    window->menuEntry(QStringLiteral("mnuFileSave"))->trigger();
    EXPECT_EQ(dialogs.asked, QStringList{QStringLiteral("Save Kestrum Files|/start/")});
    EXPECT_EQ(globals().CurrentProfilePath, c.savedTo);
    EXPECT_EQ(QFile::exists(chosen), !c.answer.isEmpty());
    EXPECT_FALSE(QFile::exists(c.current));
    if (!c.answer.isEmpty()) {
      EXPECT_EQ(globals().Settings.Options.LastDir, dir.path() + QLatin1Char('/'));
    }
  }
  EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace kestrum::testing
