// The log download over FTPS (vsftpd, TLS required) and SFTP (sshd), each
// case run against both: the same steps, texts and safety as plain FTP, and
// a server that is not trusted yet refused before anything is fetched.

#include "FetchRecorder.h"
#include "SecureTestServers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <map>

using namespace kestrum;
using namespace kestrum::test;

namespace {

enum class Protocol { Ftps, Sftp };

FetchTrust acceptingCertificates() {
  FetchTrust trust;
  trust.acceptCertificate = true;
  return trust;
}

// One server of the protocol, as the cases below need it.
class Site {
public:
  virtual ~Site() = default;
  virtual bool started() const = 0;
  virtual QString logs() const = 0;
  // Settings that log in rightly; the server is not trusted until trust().
  virtual ProfileSettings settings() const = 0;
  virtual void trust(const QString &programDir) const = 0;
  virtual void trustAnother(const QString &programDir) const = 0;
  // The server's fingerprint as openssl or ssh-keygen show it.
  virtual QString fingerprint() const = 0;
  virtual FetchTrust accepting() const = 0;
  virtual QString acceptOption() const = 0;
  // Where acceptance is recorded, and the line it must hold.
  virtual QString record(const QString &programDir) const = 0;
  virtual QString expectedRecordLine() const = 0;
  virtual QString wrongPasswordError() const = 0;
  // Makes the listing hold "../escape.log" (a server file escape.log).
  virtual void listEscapingName(ProfileSettings &s) const = 0;
  // A changed certificate may be accepted again; a changed host key not.
  virtual bool changedMayBeAccepted() const = 0;
};

class FtpsSite : public Site {
public:
  FtpsSite() = default;
  bool started() const override { return server_.started(); }
  QString logs() const override { return server_.logs(); }
  ProfileSettings settings() const override {
    ProfileSettings s;
    s.FtpServer = QStringLiteral("ftps://127.0.0.1");
    s.FtpPort = QString::number(server_.port());
    s.FtpUser = QString::fromLatin1(FtpsTestServer::kUser);
    s.FtpPassword = QString::fromLatin1(FtpsTestServer::kPassword);
    s.FtpRemoteDir = QStringLiteral("/logs/");
    return s;
  }
  void trust(const QString &programDir) const override { pin(programDir, fingerprint()); }
  void trustAnother(const QString &programDir) const override {
    pin(programDir, QStringList(32, QStringLiteral("AB")).join(QLatin1Char(':')));
  }
  QString fingerprint() const override { return server_.certificateFingerprint(); }
  FetchTrust accepting() const override { return acceptingCertificates(); }
  QString acceptOption() const override { return QStringLiteral("--accept-certificate"); }
  QString record(const QString &programDir) const override {
    return programDir + QStringLiteral("ftps-certificates.txt");
  }
  QString expectedRecordLine() const override {
    return server() + QLatin1Char(' ') + fingerprint();
  }
  QString wrongPasswordError() const override { return QStringLiteral("error: 530 - "); }
  void listEscapingName(ProfileSettings &s) const override {
    writeAll(server_.root() + QStringLiteral("escape.log"), "outside");
    s.FtpRemoteFiles = QStringLiteral("../*.log"); // vsftpd lists "../escape.log"
  }
  bool changedMayBeAccepted() const override { return true; }

private:
  QString server() const { return QStringLiteral("127.0.0.1:%1").arg(server_.port()); }
  void pin(const QString &programDir, const QString &fingerprint) const {
    writeAll(record(programDir), (server() + QLatin1Char(' ') + fingerprint + '\n').toUtf8());
  }
  FtpsTestServer server_;
};

class SftpSite : public Site {
public:
  explicit SftpSite(bool hostile) : server_(hostile) {}
  bool started() const override { return server_.started(); }
  QString logs() const override { return server_.logs(); }
  ProfileSettings settings() const override {
    ProfileSettings s;
    s.FtpServer = QStringLiteral("sftp://127.0.0.1");
    s.FtpPort = QString::number(server_.port());
    // No user and no password: the local user with the default key.
    s.FtpRemoteDir = server_.logs();
    return s;
  }
  void trust(const QString &) const override { server_.trust(); }
  void trustAnother(const QString &) const override { server_.trustAnotherKey(); }
  QString fingerprint() const override { return server_.hostKeyFingerprint(); }
  FetchTrust accepting() const override {
    FetchTrust trust;
    trust.acceptHostKey = true;
    return trust;
  }
  QString acceptOption() const override { return QStringLiteral("--accept-host-key"); }
  QString record(const QString &) const override { return server_.knownHosts(); }
  QString expectedRecordLine() const override {
    return QStringLiteral("[127.0.0.1]:%1 %2").arg(server_.port()).arg(server_.hostKey());
  }
  QString wrongPasswordError() const override { return QStringLiteral("error: 67 - "); }
  void listEscapingName(ProfileSettings &) const override {
    writeAll(server_.logs() + QStringLiteral("dotdot-escape.log"), "outside");
  }
  bool changedMayBeAccepted() const override { return false; }

private:
  SftpTestServer server_;
};

class SecureDownloadTest : public ::testing::TestWithParam<Protocol> {
protected:
  QTemporaryDir work;
  QString programDir() const { return work.path() + QStringLiteral("/program/"); }
  QString local() const { return work.path() + QStringLiteral("/local/"); }

  void SetUp() override {
    const QString why =
        GetParam() == Protocol::Ftps ? FtpsTestServer::missing() : SftpTestServer::missing();
    if (!why.isEmpty())
      GTEST_SKIP() << why.toStdString();
    QDir(work.path()).mkpath(QStringLiteral("program"));
    QDir(work.path()).mkpath(QStringLiteral("local"));
  }

  std::unique_ptr<Site> startSite(bool hostile = false) const {
    std::unique_ptr<Site> site;
    if (GetParam() == Protocol::Ftps)
      site = std::make_unique<FtpsSite>();
    else
      site = std::make_unique<SftpSite>(hostile);
    return site->started() ? std::move(site) : nullptr;
  }

  ProfileSettings settingsFor(const Site &site) const {
    ProfileSettings s = site.settings();
    s.FtpEnabled = kTrue16;
    s.FtpRemoteFiles = QStringLiteral("*.log");
    s.FtpTimeout = 10;
    s.ProfileDir = local();
    return s;
  }

  Fetch fetch(const ProfileSettings &s, const FetchTrust &trust = {}) const {
    return fetchLogs(s, programDir(), trust);
  }

  QStringList localNames() const {
    return QDir(local()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  }
  void clearLocal() const {
    for (const QString &name : localNames())
      QFile::remove(local() + name);
  }
};

const std::map<QString, QByteArray> &sampleLogs() {
  static const std::map<QString, QByteArray> logs = {
      {"access.log", sampleBytes(3 << 20, 1)},
      {"error.log", sampleBytes(1000, 2)},
      {"empty.log", {}},
      {"with blank.log", sampleBytes(10, 3)},
  };
  return logs;
}

// Every matching log arrives byte for byte, with the texts of the plain FTP
// download; deleting after the download removes exactly the fetched files.
TEST_P(SecureDownloadTest, FetchesLogsByteIdenticalAndDeletesOnlyWhenAsked) {
  for (const bool deleteAfter : {false, true}) {
    SCOPED_TRACE(deleteAfter ? "delete after download" : "keep on the server");
    clearLocal();
    const auto site = startSite();
    ASSERT_TRUE(site);
    for (const auto &[name, bytes] : sampleLogs())
      writeAll(site->logs() + name, bytes);
    writeAll(site->logs() + "notes.txt", "not a log");
    site->trust(programDir());

    ProfileSettings s = settingsFor(*site);
    s.FtpDeleteAfterDownload = deleteAfter ? kTrue16 : kFalse16;
    const Fetch f = fetch(s);

    EXPECT_EQ(f.outcome, DownloadOutcome::Finished) << f.all().toStdString();
    EXPECT_EQ(localNames(),
              QStringList({"access.log", "empty.log", "error.log", "with blank.log"}));
    for (const auto &[name, bytes] : sampleLogs()) {
      EXPECT_EQ(readAll(local() + name), bytes) << name.toStdString();
      EXPECT_NE(QFileInfo::exists(site->logs() + name), deleteAfter) << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(site->logs() + "notes.txt"));
    for (const char *text : {"changing to path on host", "connecting to host...", "connected",
                             "looking for files to download", "receiving directory...",
                             "Downloading file 4/4", "closing...", "disconnected"})
      EXPECT_TRUE(f.said(text)) << text;
    EXPECT_TRUE(f.said(deleteAfter ? "Erasing file 4/4" : "receiving file 4/4..."));
  }
}

TEST_P(SecureDownloadTest, WrongPasswordIsRefused) {
  const auto site = startSite();
  ASSERT_TRUE(site);
  writeAll(site->logs() + "access.log", "x");
  site->trust(programDir());
  ProfileSettings s = settingsFor(*site);
  s.FtpPassword = QStringLiteral("wrong");
  const Fetch f = fetch(s);
  EXPECT_EQ(f.outcome, DownloadOutcome::Failed);
  EXPECT_TRUE(f.firstError().startsWith(site->wrongPasswordError())) << f.all().toStdString();
  EXPECT_TRUE(localNames().isEmpty());
}

// A server whose certificate or host key is unknown, or differs from the one
// accepted before, is refused: the error names the fingerprint the server
// showed and (unless the key changed) how to accept it; nothing is fetched
// and nothing is recorded.
TEST_P(SecureDownloadTest, UntrustedServerIsRefusedWithItsFingerprint) {
  for (const bool knownOtherwise : {false, true}) {
    SCOPED_TRACE(knownOtherwise ? "another key accepted before" : "unknown");
    const auto site = startSite();
    ASSERT_TRUE(site);
    writeAll(site->logs() + "access.log", "x");
    QFile::remove(site->record(programDir()));
    if (knownOtherwise)
      site->trustAnother(programDir());
    const QByteArray recordBefore = readAll(site->record(programDir()));

    const Fetch f = fetch(settingsFor(*site));

    EXPECT_EQ(f.outcome, DownloadOutcome::Failed);
    const QString error = f.firstError();
    EXPECT_TRUE(error.startsWith("error: ")) << f.all().toStdString();
    EXPECT_TRUE(error.contains(site->fingerprint())) << error.toStdString();
    EXPECT_EQ(error.contains("kestrum-cli fetch " + site->acceptOption() + " PROFILE"),
              !knownOtherwise || site->changedMayBeAccepted())
        << error.toStdString();
    EXPECT_FALSE(f.texts.join('\n').contains("receiving"));
    EXPECT_TRUE(localNames().isEmpty());
    EXPECT_EQ(readAll(site->record(programDir())), recordBefore);
    EXPECT_EQ(QFileInfo::exists(site->record(programDir())), knownOtherwise);
  }
}

// Accepting shows the fingerprint, records it and fetches; later downloads
// trust the server without being asked. A changed SSH host key is never
// accepted this way.
TEST_P(SecureDownloadTest, AcceptingRecordsTheServerThenLaterFetchesTrustIt) {
  for (const bool knownOtherwise : {false, true}) {
    SCOPED_TRACE(knownOtherwise ? "another key accepted before" : "unknown");
    clearLocal();
    const auto site = startSite();
    ASSERT_TRUE(site);
    writeAll(site->logs() + "first.log", "first");
    QFile::remove(site->record(programDir()));
    if (knownOtherwise)
      site->trustAnother(programDir());

    const Fetch accepted = fetch(settingsFor(*site), site->accepting());

    if (knownOtherwise && !site->changedMayBeAccepted()) {
      EXPECT_EQ(accepted.outcome, DownloadOutcome::Failed);
      EXPECT_TRUE(accepted.firstError().contains("has changed")) << accepted.all().toStdString();
      EXPECT_TRUE(localNames().isEmpty());
      continue;
    }
    EXPECT_EQ(accepted.outcome, DownloadOutcome::Finished) << accepted.all().toStdString();
    const QString notice = accepted.texts.filter("accepted the ").value(0);
    EXPECT_TRUE(notice.contains(site->fingerprint())) << accepted.all().toStdString();
    const QStringList recorded =
        QString::fromUtf8(readAll(site->record(programDir()))).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(recorded.filter(QStringLiteral("127.0.0.1")),
              QStringList{site->expectedRecordLine()});
    EXPECT_EQ(readAll(local() + "first.log"), "first");

    writeAll(site->logs() + "second.log", "second");
    const Fetch later = fetch(settingsFor(*site));
    EXPECT_EQ(later.outcome, DownloadOutcome::Finished) << later.all().toStdString();
    EXPECT_EQ(readAll(local() + "second.log"), "second");
  }
}

TEST_P(SecureDownloadTest, ListedNameLeavingTheFolderIsNotFetched) {
  const auto site = startSite(true);
  ASSERT_TRUE(site);
  site->trust(programDir());
  writeAll(site->logs() + "good.log", "good");
  ProfileSettings s = settingsFor(*site);
  site->listEscapingName(s);
  const Fetch f = fetch(s);
  EXPECT_EQ(f.outcome, DownloadOutcome::Finished) << f.all().toStdString();
  EXPECT_TRUE(f.said("not fetched (unsafe name): ../escape.log")) << f.all().toStdString();
  EXPECT_FALSE(QFileInfo::exists(work.path() + "/escape.log"));
  EXPECT_FALSE(localNames().contains("escape.log"));
}

INSTANTIATE_TEST_SUITE_P(Protocols, SecureDownloadTest,
                         ::testing::Values(Protocol::Ftps, Protocol::Sftp), [](const auto &info) {
                           return info.param == Protocol::Ftps ? "Ftps" : "Sftp";
                         });

// ftps:// must not fall back to plain FTP: a server without TLS gets no
// login at all.
TEST(FtpsDownloadTest, ServerWithoutTlsIsRefused) {
  if (const QString why = FtpsTestServer::missing(); !why.isEmpty())
    GTEST_SKIP() << why.toStdString();
  QTemporaryDir work;
  FtpsTestServer server(false);
  ASSERT_TRUE(server.started());
  writeAll(server.logs() + "access.log", "x");
  ProfileSettings s;
  s.FtpServer = QStringLiteral("ftps://127.0.0.1");
  s.FtpPort = QString::number(server.port());
  s.FtpUser = QString::fromLatin1(FtpsTestServer::kUser);
  s.FtpPassword = QString::fromLatin1(FtpsTestServer::kPassword);
  s.FtpRemoteDir = QStringLiteral("/logs/");
  s.FtpRemoteFiles = QStringLiteral("*.log");
  s.FtpTimeout = 10;
  s.ProfileDir = work.path() + QStringLiteral("/");
  const Fetch f = fetchLogs(s, work.path(), acceptingCertificates());
  EXPECT_EQ(f.outcome, DownloadOutcome::Failed);
  EXPECT_TRUE(f.firstError().startsWith("error: 64 - the server offers no TLS"))
      << f.all().toStdString();
  EXPECT_FALSE(QFileInfo::exists(work.path() + "/access.log"));
}

// With no password, SFTP logs in with the default key file or with a key
// the SSH agent holds; with neither the server refuses.
TEST(SftpDownloadTest, LogsInWithTheDefaultKeyOrTheAgent) {
  if (const QString why = SftpTestServer::missing(); !why.isEmpty())
    GTEST_SKIP() << why.toStdString();
  struct Case {
    const char *name;
    bool keyFile, agent, loggedIn;
  };
  const Case cases[] = {
      {"default key file", true, false, true},
      {"key in the agent only", false, true, true},
      {"neither", false, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir work;
    SftpTestServer server;
    ASSERT_TRUE(server.started());
    server.trust();
    writeAll(server.logs() + "access.log", "x");
    const QString agentKey = work.filePath("agent_key");
    QFile::rename(server.userKey(), agentKey);
    if (c.keyFile)
      QFile::copy(agentKey, server.userKey());
    QProcess agent;
    if (c.agent) {
      const QString socket = work.filePath("agent.sock");
      agent.start("ssh-agent", {"-D", "-a", socket});
      for (int i = 0; i < 500 && !QFileInfo::exists(socket); ++i)
        QThread::msleep(20);
      qputenv("SSH_AUTH_SOCK", QFile::encodeName(socket));
      ASSERT_TRUE(runProgram("ssh-add", {"-q", agentKey}));
    }
    ProfileSettings s;
    s.FtpServer = QStringLiteral("sftp://127.0.0.1");
    s.FtpPort = QString::number(server.port());
    s.FtpRemoteDir = server.logs();
    s.FtpRemoteFiles = QStringLiteral("*.log");
    s.FtpTimeout = 10;
    s.ProfileDir = work.path() + QLatin1Char('/');
    const Fetch f = fetchLogs(s, work.path());
    qunsetenv("SSH_AUTH_SOCK");
    agent.kill();
    agent.waitForFinished();
    EXPECT_EQ(f.outcome, c.loggedIn ? DownloadOutcome::Finished : DownloadOutcome::Failed)
        << f.all().toStdString();
    EXPECT_EQ(QFileInfo::exists(work.filePath("access.log")), c.loggedIn);
    if (!c.loggedIn) {
      EXPECT_TRUE(f.firstError().startsWith("error: 67 - ")) << f.all().toStdString();
    }
  }
}

} // namespace
