// The alias, inclusion/exclusion and report-order editors.

#include "ShellFixture.h"
#include "shell/ListEditing.h"
#include "shell/ReportTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kestrum::testing {
namespace {

ProfileList listOf(std::initializer_list<const char *> texts) {
  ProfileList list;
  int i = 0;
  for (const char *t : texts)
    list[size_t(i++)].Text = QString::fromUtf8(t);
  return list;
}

ProfileList fullList() {
  ProfileList list;
  for (int i = 0; i < kListSize; ++i)
    list[size_t(i)].Text = QStringLiteral("entry %1").arg(i);
  return list;
}

QStringList used(const ProfileList &list) {
  QStringList out;
  for (int i = 0; i < usedListLength(list); ++i)
    out << list[size_t(i)].Text;
  return out;
}

TEST(ListEditing, DeleteClosesTheGap) {
  const struct {
    ProfileList before;
    int index;
    QStringList after;
  } cases[] = {
      {listOf({"a", "b", "c"}), 0, {"b", "c"}}, {listOf({"a", "b", "c"}), 1, {"a", "c"}},
      {listOf({"a", "b", "c"}), 2, {"a", "b"}}, {listOf({"a"}), 0, {}},
      {listOf({"a", "b"}), 5, {"a", "b"}}, // past the end: nothing to do
      {listOf({"a", "b"}), -1, {"a", "b"}},
  };
  for (const auto &c : cases) {
    ProfileList list = c.before;
    DeleteListEntry(list, c.index);
    EXPECT_EQ(used(list), c.after) << c.index;
  }
}

TEST(ListEditing, DeletingFromAFullListEmptiesTheLastEntry) {
  ProfileList list = fullList();
  DeleteListEntry(list, 0);
  EXPECT_EQ(list[0].Text, QStringLiteral("entry 1"));
  EXPECT_EQ(list[kListSize - 2].Text, QStringLiteral("entry 1000"));
  EXPECT_TRUE(list[kListSize - 1].Text.isEmpty());
}

TEST(ListEditing, AppendFillsTheFirstEmptyEntryAndRefusesWhenFull) {
  ProfileList list = listOf({"a", "b"});
  EXPECT_TRUE(AppendListEntry(list, QStringLiteral("c")));
  EXPECT_EQ(used(list), (QStringList{"a", "b", "c"}));

  ProfileList full = fullList();
  const ProfileList before = full;
  EXPECT_FALSE(AppendListEntry(full, QStringLiteral("one too many")));
  EXPECT_TRUE(full == before);
}

TEST(ListEditing, LinesAreJoinedWithSingleBlanksAsTyped) {
  EXPECT_EQ(AliasLine("HOSTALIAS", "T", "R"), QStringLiteral("HOSTALIAS T R"));
  EXPECT_EQ(AliasLine("HOSTALIAS *.a.com a", "", ""), QStringLiteral("HOSTALIAS *.a.com a  "));
  EXPECT_EQ(InclusionLine("FILEEXCLUDE", " *.gif "), QStringLiteral("FILEEXCLUDE  *.gif "));
  EXPECT_EQ(SearchEngineLine("P", "q"), QStringLiteral("SEARCHENGINE P q"));
}

using ListEditors = ShellFixture;

// Drives one list editor through the window: create, select, delete.
struct EditorCase {
  const char *name;
  const char *box;
  const char *deleteButton;
  ProfileList Profile::*list;
  std::function<void(MForm &)> fill; // fills the input fields
  void (MForm::*create)();
  const char *expected;
};

TEST_F(ListEditors, CreateAppendsAndDeleteRemovesTheSelectedLine) {
  const EditorCase cases[] = {
      {"alias", "AliasBox", "AliasDelete", &Profile::Aliases,
       [](MForm &w) {
         w.control<QComboBox>("AliasAdd1")->setCurrentText("HOSTALIAS");
         w.control<QLineEdit>("AliasAdd2")->setText("T");
         w.control<QLineEdit>("AliasAdd3")->setText("R");
       },
       &MForm::AliasNew_Click, "HOSTALIAS T R"},
      {"inclusion", "ExBox", "ExDelete", &Profile::Excludes,
       [](MForm &w) {
         w.control<QComboBox>("ExT1")->setCurrentText("FILEEXCLUDE");
         w.control<QLineEdit>("ExT2")->setText("*.gif");
       },
       &MForm::ExNew_Click, "FILEEXCLUDE *.gif"},
      {"search engine", "ExBox", "ExDelete", &Profile::Excludes,
       [](MForm &w) {
         w.control<QLineEdit>("SeT1")->setText("P");
         w.control<QLineEdit>("SeT2")->setText("q");
       },
       &MForm::SeTNew_Click, "SEARCHENGINE P q"},
  };
  for (const EditorCase &c : cases) {
    SCOPED_TRACE(c.name);
    Profile &p = window->profile();
    p.*c.list = listOf({"first", "second"});
    window->AliasBoxUpdate();
    window->ExBoxUpdate();
    auto *box = window->control<QListWidget>(QString::fromLatin1(c.box));
    auto *del = window->control<QPushButton>(QString::fromLatin1(c.deleteButton));
    EXPECT_FALSE(del->isEnabled());

    c.fill(*window);
    (window.get()->*c.create)();
    EXPECT_EQ(used(p.*c.list), (QStringList{"first", "second", c.expected}));
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->item(2)->text(), QString::fromUtf8(c.expected));
    EXPECT_FALSE(del->isEnabled());

    // The input fields keep their text, so Create again adds the same line.
    (window.get()->*c.create)();
    EXPECT_EQ(used(p.*c.list), (QStringList{"first", "second", c.expected, c.expected}));
    box->setCurrentRow(3);
    del->click();

    box->setCurrentRow(0);
    EXPECT_TRUE(del->isEnabled());
    del->click();
    EXPECT_EQ(used(p.*c.list), (QStringList{"second", c.expected}));
    EXPECT_EQ(box->count(), 2);
    EXPECT_FALSE(del->isEnabled());

    box->setCurrentRow(1); // the last line
    del->click();
    EXPECT_EQ(used(p.*c.list), (QStringList{"second"}));
    EXPECT_FALSE(del->isEnabled());
  }
}

TEST_F(ListEditors, CreateOnAFullListRefusesWithAMessage) {
  const struct {
    ProfileList Profile::*list;
    void (MForm::*create)();
  } cases[] = {{&Profile::Aliases, &MForm::AliasNew_Click},
               {&Profile::Excludes, &MForm::ExNew_Click},
               {&Profile::Excludes, &MForm::SeTNew_Click}};
  for (const auto &c : cases) {
    messages.shown.clear();
    window->profile().*c.list = fullList();
    (window.get()->*c.create)();
    EXPECT_TRUE(window->profile().*c.list == fullList());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, ListFullMessage());
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Kestrum"));
  }
}

TEST_F(ListEditors, ReportOrderListsTheClickedCodesUntilRestart) {
  auto *order = window->control<QLineEdit>(QStringLiteral("SortErg"));
  const auto box = [&](int i) { return window->control<QCheckBox>(QStringLiteral("RepSort"), i); };
  window->show();
  for (int i : {9, 10, 0}) // Host Report, Domain Report, General Summary
    box(i)->click();
  EXPECT_EQ(order->text(), QStringLiteral("Sox"));
  for (int i : {9, 10, 0}) {
    EXPECT_TRUE(box(i)->isChecked());
    EXPECT_FALSE(box(i)->isEnabled());
  }
  // The order reaches the profile through the window binding.
  window->ReadWriteWindow(false);
  EXPECT_EQ(window->profile().Settings.ReportOrder, QStringLiteral("Sox"));

  window->control<QPushButton>(QStringLiteral("SortRestart"))->click();
  EXPECT_EQ(order->text(), QString());
  for (int i = 0; i < kReportCount; ++i) {
    EXPECT_FALSE(box(i)->isChecked()) << i;
    EXPECT_TRUE(box(i)->isEnabled()) << i;
  }

  // Every box appends its own report letter.
  QString all;
  for (int i = 0; i < kReportCount; ++i) {
    box(i)->click();
    all += QLatin1Char(reportTable()[size_t(i)].code);
  }
  EXPECT_EQ(order->text(), all);
  EXPECT_EQ(all, QStringLiteral("xmWDdHh45SoritzEIfskKBbvuJcZPNnp"));
}

TEST_F(ListEditors, LoadingRefillsTheBoxesFromTheProfileLists) {
  window->profile().Aliases = listOf({"FILEALIAS a b", "HOSTALIAS c d"});
  window->profile().Excludes = listOf({"HOSTEXCLUDE x"});
  window->AliasBoxUpdate();
  window->ExBoxUpdate();
  EXPECT_EQ(window->control<QListWidget>(QStringLiteral("AliasBox"))->count(), 2);
  EXPECT_EQ(window->control<QListWidget>(QStringLiteral("ExBox"))->item(0)->text(),
            QStringLiteral("HOSTEXCLUDE x"));
}

} // namespace
} // namespace kestrum::testing
