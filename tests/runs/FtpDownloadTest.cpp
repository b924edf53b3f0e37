// The log download against a real FTP server, driven headless as
// kestrum-cli fetch drives it.

#include "FetchRecorder.h"
#include "FtpTestServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kestrum;
using namespace kestrum::test;

namespace {

class FtpDownloadTest : public ::testing::Test {
protected:
  QTemporaryDir work; // holds the program folder and the local folder
  QString programDir() const { return work.path() + QStringLiteral("/program/"); }
  QString local() const { return work.path() + QStringLiteral("/local/"); }

  void SetUp() override {
    QDir(work.path()).mkpath(QStringLiteral("program"));
    QDir(work.path()).mkpath(QStringLiteral("local"));
  }

  static ProfileSettings settingsFor(const FtpTestServer &server, const QString &localDir) {
    ProfileSettings s;
    s.FtpEnabled = kTrue16;
    s.FtpServer = QStringLiteral("127.0.0.1");
    s.FtpPort = QString::number(server.port());
    s.FtpRemoteDir = QStringLiteral("/logs/");
    s.FtpRemoteFiles = QStringLiteral("*.log");
    s.FtpTimeout = 10;
    s.ProfileDir = localDir;
    return s;
  }

  Fetch fetch(const ProfileSettings &settings) { return fetchLogs(settings, programDir()); }

  QStringList localNames() const {
    return QDir(local()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  }
};

// Every matching log arrives byte for byte, whoever logs in and wherever
// the profile directory is given.
TEST_F(FtpDownloadTest, FetchesEveryMatchingLogByteIdentical) {
  struct Case {
    const char *name;
    QStringList serverOptions;
    QString user, password;
    bool relativeProfileDir;
  };
  const std::vector<Case> cases = {
      {"anonymous", {}, {}, {}, false},
      {"user and password",
       {"--user", "webmaster", "--password", "s3cret pass"},
       "webmaster",
       "s3cret pass",
       false},
      {"relative profile directory", {}, {}, {}, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    for (const QString &name : localNames())
      QFile::remove(local() + name);
    FtpTestServer server(c.serverOptions);
    ASSERT_TRUE(server.started());
    const std::map<QString, QByteArray> logs = {
        {"access.log", sampleBytes(3 << 20, 1)},
        {"error.log", sampleBytes(1000, 2)},
        {"empty.log", {}},
        {"with blank.log", sampleBytes(10, 3)},
    };
    for (const auto &[name, bytes] : logs)
      server.put(name, bytes);
    server.put(QStringLiteral("notes.txt"), "not a log");

    ProfileSettings s =
        settingsFor(server, c.relativeProfileDir ? QStringLiteral("../local") : local());
    s.FtpUser = c.user;
    s.FtpPassword = c.password;
    const Fetch f = fetch(s);

    EXPECT_EQ(f.outcome, DownloadOutcome::Finished) << f.texts.join('\n').toStdString();
    EXPECT_EQ(localNames(),
              QStringList({"access.log", "empty.log", "error.log", "with blank.log"}));
    for (const auto &[name, bytes] : logs)
      EXPECT_EQ(readAll(local() + name), bytes) << name.toStdString();
    for (const char *text :
         {"changing to path on host", "connected", "looking for files to download",
          "receiving directory...", "receiving file 1/4...", "Downloading file 4/4", "closing..."})
      EXPECT_TRUE(f.said(text)) << text;
    EXPECT_TRUE(QFileInfo::exists(server.logs() + "access.log")); // no delete asked for
  }
}

TEST_F(FtpDownloadTest, PatternMatchingNothingClosesWithoutFetching) {
  FtpTestServer server;
  ASSERT_TRUE(server.started());
  server.put(QStringLiteral("access.txt"), "x");
  const Fetch f = fetch(settingsFor(server, local()));
  EXPECT_EQ(f.outcome, DownloadOutcome::Finished);
  EXPECT_TRUE(localNames().isEmpty());
  EXPECT_TRUE(f.said("looking for files to download"));
  EXPECT_TRUE(f.said("closing..."));
  EXPECT_FALSE(f.texts.join('\n').contains("receiving file"));
}

// A local file is kept unless overwriting is asked for; a kept file is not
// deleted on the server even when fetched files are, since its remote copy
// holds lines the local one lacks.
TEST_F(FtpDownloadTest, KeepsOrOverwritesLocalFilesAndDeletesOnlyFetchedOnes) {
  struct Case {
    bool overwrite, deleteAfter;
    bool keptLocalUnchanged, fetchedGoneRemotely, keptGoneRemotely;
  };
  const Case cases[] = {
      {false, false, true, false, false},
      {true, false, false, false, false},
      {false, true, true, true, false},
      {true, true, false, true, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "overwrite " << c.overwrite << ", delete " << c.deleteAfter);
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    server.put(QStringLiteral("new.log"), sampleBytes(5000, 4));
    server.put(QStringLiteral("kept.log"), sampleBytes(7000, 5));
    writeAll(local() + "kept.log", "old local lines\n");
    QFile::remove(local() + "new.log");

    ProfileSettings s = settingsFor(server, local());
    s.FtpOverwriteLocal = c.overwrite ? kTrue16 : kFalse16;
    s.FtpDeleteAfterDownload = c.deleteAfter ? kTrue16 : kFalse16;
    const Fetch f = fetch(s);

    EXPECT_EQ(f.outcome, DownloadOutcome::Finished) << f.texts.join('\n').toStdString();
    EXPECT_EQ(readAll(local() + "new.log"), sampleBytes(5000, 4));
    EXPECT_EQ(readAll(local() + "kept.log"),
              c.keptLocalUnchanged ? QByteArray("old local lines\n") : sampleBytes(7000, 5));
    EXPECT_NE(QFileInfo::exists(server.logs() + "new.log"), c.fetchedGoneRemotely);
    EXPECT_NE(QFileInfo::exists(server.logs() + "kept.log"), c.keptGoneRemotely);
    if (c.deleteAfter) {
      EXPECT_TRUE(f.texts.join('\n').contains("Erasing file"));
    }
  }
}

// A refused login or a missing folder shows "error:" with the server's code
// and text; Cancel (pressed by the headless runner) ends the exchange the
// normal way.
TEST_F(FtpDownloadTest, ServerRefusalsShowTheCodeAndTextThenCancelEnds) {
  struct Case {
    const char *name;
    QString user, password, remoteDir, expectedStart;
  };
  const Case cases[] = {
      {"wrong password", "webmaster", "wrong", "/logs/", "error: 530 - "},
      {"missing remote directory", "webmaster", "right", "/no-such-dir/", "error: 550 - "},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    FtpTestServer server({"--user", "webmaster", "--password", "right"});
    ASSERT_TRUE(server.started());
    server.put(QStringLiteral("access.log"), "x");
    ProfileSettings s = settingsFor(server, local());
    s.FtpUser = c.user;
    s.FtpPassword = c.password;
    s.FtpRemoteDir = c.remoteDir;
    const Fetch f = fetch(s);
    EXPECT_EQ(f.outcome, DownloadOutcome::Failed);
    EXPECT_TRUE(f.firstError().startsWith(c.expectedStart)) << f.firstError().toStdString();
    EXPECT_GT(f.firstError().size(), c.expectedStart.size()); // the server's text follows
    EXPECT_EQ(f.texts.last(), f.said("disconnected") ? "disconnected" : "closing...");
    EXPECT_TRUE(localNames().isEmpty());
  }
}

// The server dies while sending the second file: the first stays, the
// second leaves neither a partial file nor a temporary one, and the
// exchange ends.
TEST_F(FtpDownloadTest, ServerKilledMidTransferLeavesNoPartialFile) {
  FtpTestServer server({"--die-after", QString::number(2 << 20)});
  ASSERT_TRUE(server.started());
  server.put(QStringLiteral("a.log"), sampleBytes(1 << 20, 6));
  server.put(QStringLiteral("b.log"), sampleBytes(8 << 20, 7));
  const Fetch f = fetch(settingsFor(server, local()));
  EXPECT_EQ(f.outcome, DownloadOutcome::Failed);
  EXPECT_TRUE(f.firstError().startsWith("error:")) << f.texts.join('\n').toStdString();
  EXPECT_EQ(localNames(), QStringList{"a.log"});
  EXPECT_EQ(readAll(local() + "a.log"), sampleBytes(1 << 20, 6));
}

// Names that would leave the profile directory are not fetched; the
// others are.
TEST_F(FtpDownloadTest, HostileListedNamesAreNotFetched) {
  FtpTestServer server({"--hostile"});
  ASSERT_TRUE(server.started());
  server.put(QStringLiteral("good.log"), "good");
  const QString outside = QDir(local()).absoluteFilePath(QStringLiteral("../escape.log"));
  ProfileSettings s = settingsFor(server, local());
  s.FtpRemoteFiles = QString(); // the whole listing
  const Fetch f = fetch(s);
  EXPECT_EQ(f.outcome, DownloadOutcome::Finished) << f.texts.join('\n').toStdString();
  EXPECT_EQ(localNames(), QStringList{"good.log"});
  EXPECT_FALSE(QFileInfo::exists(outside));
  EXPECT_TRUE(f.said("not fetched (unsafe name): ../escape.log"));
  EXPECT_TRUE(f.said("not fetched (unsafe name): sub/inner.log"));
}

TEST_F(FtpDownloadTest, SilentServerTimesOut) {
  FtpTestServer server({"--mute"});
  ASSERT_TRUE(server.started());
  ProfileSettings s = settingsFor(server, local());
  s.FtpTimeout = 1;
  QElapsedTimer clock;
  clock.start();
  const Fetch f = fetch(s);
  EXPECT_LT(clock.elapsed(), 15000);
  EXPECT_EQ(f.outcome, DownloadOutcome::Failed);
  EXPECT_TRUE(f.firstError().startsWith("error: 28 - ")) << f.firstError().toStdString();
}

// FtpUseProxy takes the profile's proxy; without it the environment's
// proxy settings apply and the profile's proxy is not used. A proxy that
// cannot be reached shows which one was tried.
TEST_F(FtpDownloadTest, ProxyComesFromTheProfileOrTheEnvironment) {
  struct Case {
    const char *name;
    bool useProxy;
    QByteArray environmentProxy;
    bool reachesServer;
  };
  const Case cases[] = {
      {"profile proxy used", true, {}, false},
      {"profile proxy ignored when not asked for", false, {}, true},
      {"environment proxy applies", false, "http://127.0.0.1:1", false},
  };
  FtpTestServer server;
  ASSERT_TRUE(server.started());
  server.put(QStringLiteral("access.log"), "x");
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(local() + "access.log");
    if (!c.environmentProxy.isEmpty())
      qputenv("ftp_proxy", c.environmentProxy);
    ProfileSettings s = settingsFor(server, local());
    s.FtpUseProxy = c.useProxy ? kTrue16 : kFalse16;
    s.FtpProxy = QStringLiteral("http://127.0.0.1:1");
    const Fetch f = fetch(s);
    qunsetenv("ftp_proxy");
    EXPECT_EQ(f.outcome, c.reachesServer ? DownloadOutcome::Finished : DownloadOutcome::Failed);
    EXPECT_EQ(QFileInfo::exists(local() + "access.log"), c.reachesServer);
    if (!c.reachesServer) {
      EXPECT_TRUE(f.firstError().startsWith("error: 7 - ")) << f.firstError().toStdString();
      EXPECT_TRUE(f.firstError().contains("port 1")) << f.firstError().toStdString();
    }
  }
}

TEST_F(FtpDownloadTest, PortThatIsNoNumberShowsAnError) {
  for (const char *port : {"twenty-one", "70000", "0", "21x"}) {
    SCOPED_TRACE(port);
    ProfileSettings s;
    s.FtpServer = QStringLiteral("127.0.0.1");
    s.FtpPort = QString::fromLatin1(port);
    s.ProfileDir = local();
    const Fetch f = fetch(s);
    EXPECT_EQ(f.outcome, DownloadOutcome::Failed);
    EXPECT_EQ(f.firstError(),
              QStringLiteral("error: FtpPort \"%1\" is not a port number (1 to 65535)")
                  .arg(QString::fromLatin1(port)));
  }
}

TEST_F(FtpDownloadTest, ProfileWithoutServerDoesNotStart) {
  ProfileSettings s;
  s.ProfileDir = local();
  EXPECT_EQ(fetch(s).outcome, DownloadOutcome::NotStarted);
}

// The original table held 1000 names; a longer listing is fetched whole.
TEST_F(FtpDownloadTest, FetchesMoreThanAThousandFiles) {
  FtpTestServer server;
  ASSERT_TRUE(server.started());
  for (int i = 0; i < 1003; ++i)
    server.put(QStringLiteral("%1.log").arg(i, 4, 10, QLatin1Char('0')), QByteArray::number(i));
  const Fetch f = fetch(settingsFor(server, local()));
  EXPECT_EQ(f.outcome, DownloadOutcome::Finished);
  EXPECT_EQ(localNames().size(), 1003);
  EXPECT_EQ(readAll(local() + "1002.log"), "1002");
}

} // namespace
