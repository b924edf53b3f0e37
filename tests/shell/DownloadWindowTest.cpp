// The download and results windows, offscreen, against a real FTP server.

#include "FtpTestServer.h"
#include "SecureTestServers.h"
#include "TestServices.h"
#include "shell/frmDownload.h"
#include "shell/frmShowRes.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestrum;
using namespace kestrum::test;

namespace {

ProfileSettings settingsFor(const FtpTestServer &server, const QString &localDir) {
  ProfileSettings s;
  s.FtpServer = QStringLiteral("127.0.0.1");
  s.FtpPort = QString::number(server.port());
  s.FtpUser = QStringLiteral("webmaster");
  s.FtpPassword = QStringLiteral("right");
  s.FtpRemoteDir = QStringLiteral("/logs/");
  s.FtpRemoteFiles = QStringLiteral("*.log");
  s.FtpTimeout = 10;
  s.ProfileDir = localDir + QLatin1Char('/');
  return s;
}

bool waitUntilClosed(frmDownload &window) {
  return QTest::qWaitFor([&] { return !window.isVisible(); }, 20000);
}

// The window runs the exchange, counts finished files on its progress bar,
// hands the listed names to the results window and closes itself.
TEST(DownloadWindowTest, FetchesShowsResultsAndClosesItself) {
  FtpTestServer server({"--user", "webmaster", "--password", "right"});
  ASSERT_TRUE(server.started());
  server.put(QStringLiteral("a.log"), "first");
  server.put(QStringLiteral("b.log"), "second");
  server.put(QStringLiteral("c.log"), "third");
  QTemporaryDir local;
  writeAll(local.path() + "/b.log", "kept"); // kept, still listed in the results
  ProfileSettings s = settingsFor(server, local.path());
  s.FtpShowDownloaded = kTrue16;

  QStringList shownFiles;
  QString shownFolder;
  int progressWhenShown = -1;
  frmDownload *window = nullptr;
  frmDownload w(s, local.path(), nullptr, 0, [&](const QStringList &files, const QString &dir) {
    shownFiles = files;
    shownFolder = dir;
    progressWhenShown = window->MainProgress->value();
  });
  window = &w;
  EXPECT_EQ(w.windowTitle(), "Downloading...");
  w.show();
  ASSERT_TRUE(waitUntilClosed(w)) << w.CurrentAction->text().toStdString();

  EXPECT_EQ(w.Download().Outcome(), DownloadOutcome::Finished);
  EXPECT_EQ(shownFiles, QStringList({"a.log", "b.log", "c.log"}));
  EXPECT_EQ(shownFolder, local.path() + '/');
  EXPECT_EQ(progressWhenShown, 3);
  EXPECT_EQ(w.MainProgress->maximum(), 3);
  EXPECT_EQ(readAll(local.path() + "/a.log"), "first");
  EXPECT_EQ(readAll(local.path() + "/b.log"), "kept");
  EXPECT_EQ(readAll(local.path() + "/c.log"), "third");
}

// After an error the window stays open with the text until Cancel.
TEST(DownloadWindowTest, ErrorWaitsForCancel) {
  FtpTestServer server({"--user", "webmaster", "--password", "right"});
  ASSERT_TRUE(server.started());
  QTemporaryDir local;
  ProfileSettings s = settingsFor(server, local.path());
  s.FtpPassword = QStringLiteral("wrong");
  frmDownload w(s, local.path(), nullptr, 0);
  w.show();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return w.CurrentAction->text().startsWith(QLatin1String("error: 530 - ")); }, 20000))
      << w.CurrentAction->text().toStdString();
  QTest::qWait(300);
  EXPECT_TRUE(w.isVisible());
  QTest::mouseClick(w.CancelBut, Qt::LeftButton);
  ASSERT_TRUE(waitUntilClosed(w));
  EXPECT_EQ(w.Download().Outcome(), DownloadOutcome::Failed);
}

// An unknown SFTP host key: the window grows until the whole text, with the
// fingerprint and how to accept it, can be read; it accepts nothing itself.
TEST(DownloadWindowTest, UnknownHostKeyErrorIsShownWhole) {
  if (const QString why = SftpTestServer::missing(); !why.isEmpty())
    GTEST_SKIP() << why.toStdString();
  SftpTestServer server;
  ASSERT_TRUE(server.started());
  QTemporaryDir local;
  ProfileSettings s;
  s.FtpServer = QStringLiteral("sftp://127.0.0.1");
  s.FtpPort = QString::number(server.port());
  s.FtpRemoteDir = server.logs();
  s.FtpTimeout = 10;
  s.ProfileDir = local.path() + QLatin1Char('/');
  frmDownload w(s, local.path(), nullptr, 0);
  w.show();
  QLabel *text = w.CurrentAction;
  ASSERT_TRUE(QTest::qWaitFor([&] { return text->text().startsWith("error: "); }, 20000))
      << text->text().toStdString();
  EXPECT_TRUE(text->text().contains(server.hostKeyFingerprint())) << text->text().toStdString();
  EXPECT_TRUE(text->text().endsWith("kestrum-cli fetch --accept-host-key PROFILE"));
  QTest::qWait(100);
  EXPECT_GE(text->height(), text->heightForWidth(text->width()));
  EXPECT_GE(text->heightForWidth(text->width()), 4 * text->fontMetrics().lineSpacing());
  EXPECT_FALSE(QFileInfo::exists(server.knownHosts()));
  QTest::mouseClick(w.CancelBut, Qt::LeftButton);
  ASSERT_TRUE(waitUntilClosed(w));
}

TEST(DownloadWindowTest, ResultsWindowListsFilesAndOpensTheirFolder) {
  kestrum::testing::RecordingDesktop desktop;
  frmShowRes w({"a.log", "b.log"}, "/srv/logs/", desktop);
  w.show();
  EXPECT_EQ(w.windowTitle(), "Results of download");
  ASSERT_EQ(w.FList->count(), 2);
  EXPECT_EQ(w.FList->item(1)->text(), "b.log");
  QTest::mouseClick(w.ButOpen, Qt::LeftButton);
  EXPECT_EQ(desktop.opened, QStringList{"/srv/logs/"});
  QTest::mouseClick(w.OKBut, Qt::LeftButton);
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.result(), QDialog::Accepted);
}

} // namespace
