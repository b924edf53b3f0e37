// The DNS clean-up window on a real program folder: the file list follows
// the pattern, the button waits for a click, the clean-up runs and reports.

#include "shell/DeleteUnresolvedWindow.h"
#include "ShellFixture.h"
#include "TestFiles.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

namespace kestrum::testing {
namespace {

class DeleteUnresolvedWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"b.KestrumDNS", "a.KestrumDNS", "notes.txt"})
      test::writeAll(dir.filePath(QLatin1String(name)), "1 x *\n2 y name\n");
    window = std::make_unique<DeleteUnresolvedWindow>(dir.path() + QLatin1Char('/'), messages);
  }
  QStringList listed() const {
    QStringList names;
    for (int i = 0; i < window->FileSelect->count(); ++i)
      names << window->FileSelect->item(i)->text();
    return names;
  }
  QTemporaryDir dir;
  RecordingMessages messages;
  std::unique_ptr<DeleteUnresolvedWindow> window;
};

TEST_F(DeleteUnresolvedWindowTest, ListsThePatternsFilesOfTheProgramFolder) {
  EXPECT_EQ(listed(), (QStringList{"a.KestrumDNS", "b.KestrumDNS"}));
  window->Pattern->setText(QStringLiteral("*.txt"));
  EXPECT_EQ(listed(), QStringList{"notes.txt"});
  window->Pattern->setText(QStringLiteral("nothing*"));
  EXPECT_TRUE(listed().isEmpty());
  EXPECT_FALSE(window->DelUn->isEnabled());
}

TEST_F(DeleteUnresolvedWindowTest, CleansTheClickedFileAndSaysSo) {
  EXPECT_FALSE(window->DelUn->isEnabled());
  QListWidgetItem *b = window->FileSelect->item(1);
  window->FileSelect->setCurrentItem(b);
  emit window->FileSelect->itemClicked(b);
  ASSERT_TRUE(window->DelUn->isEnabled());

  QSignalSpy finished(window.get(), &DeleteUnresolvedWindow::cleanupFinished);
  window->DelUn->click();
  ASSERT_TRUE(finished.wait(10000));

  EXPECT_EQ(test::readAll(dir.filePath(QStringLiteral("b.KestrumDNS"))), "2 y name\r\n");
  EXPECT_EQ(test::readAll(dir.filePath(QStringLiteral("Old b.KestrumDNS"))), "1 x *\n2 y name\n");
  EXPECT_EQ(test::readAll(dir.filePath(QStringLiteral("a.KestrumDNS"))), "1 x *\n2 y name\n");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, QStringLiteral("Unresolved DNS Data deleted"));
  EXPECT_EQ(messages.shown[0].title, QStringLiteral("Message"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
  EXPECT_GT(window->MProg->value(), 50);
  EXPECT_TRUE(window->DelUn->isEnabled()) << "it can be used again";
}

TEST_F(DeleteUnresolvedWindowTest, NoSelectionOrAVanishedFileIsReportedAndChangesNothing) {
  QListWidgetItem *a = window->FileSelect->item(0);
  window->FileSelect->setCurrentItem(a);
  emit window->FileSelect->itemClicked(a);
  window->RefreshFileList(); // the list refilled: nothing is selected any more
  window->DelUn->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);

  window->FileSelect->setCurrentRow(0);
  QFile::remove(dir.filePath(QStringLiteral("a.KestrumDNS")));
  QSignalSpy finished(window.get(), &DeleteUnresolvedWindow::cleanupFinished);
  window->DelUn_Click();
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(messages.shown[1].text.contains(QLatin1String("a.KestrumDNS")));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Old a.KestrumDNS"))));
}

} // namespace
} // namespace kestrum::testing
