// kestrum-cli fetch as a separate process against a real FTP server: the
// progress texts on standard output, exit 0 after a clean exchange, and
// exit 1 (never a hang) after an error. Also its options accepting a
// server not trusted yet, against a real SFTP server.

#include "FtpTestServer.h"
#include "ProgramFolderCopy.h"
#include "SecureTestServers.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace kestrum::test;

namespace {

ProgramFolderCopy::Run fetchWith(const ProgramFolderCopy &program, const FtpTestServer &server,
                                 const QString &password) {
  const QString profile = program.file("Fetch.Kestrum");
  program.cli({"new", profile});
  program.cli({"set", profile, "FtpEnabled=True", "FtpServer=127.0.0.1",
               "FtpPort=" + QString::number(server.port()), "FtpUser=webmaster",
               "FtpPassword=" + password, "FtpRemoteDir=/logs/", "FtpRemoteFiles=*.log",
               "ProfileDir=fetched/", "FtpTimeout=10"});
  return program.cli({"fetch", profile}, {30000, 0});
}

TEST(CliFetchTest, PrintsProgressAndExitsZero) {
  ProgramFolderCopy program;
  ASSERT_TRUE(program.ok());
  FtpTestServer server({"--user", "webmaster", "--password", "right"});
  ASSERT_TRUE(server.started());
  server.put("access.log", sampleBytes(100000, 9));
  QDir(program.path()).mkdir("fetched");
  const auto run = fetchWith(program, server, "right");
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.startsWith("changing to path on host\n")) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("\nreceiving file 1/1...\n"));
  EXPECT_EQ(readAll(program.file("fetched/access.log")), sampleBytes(100000, 9));
}

TEST(CliFetchTest, ErrorIsPrintedThenCancelledWithExitOne) {
  ProgramFolderCopy program;
  ASSERT_TRUE(program.ok());
  FtpTestServer server({"--user", "webmaster", "--password", "right"});
  ASSERT_TRUE(server.started());
  const auto run = fetchWith(program, server, "wrong");
  EXPECT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.contains("\nerror: 530 - ")) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("\nclosing...\n"));
}

// The unknown host key's error names the profile file to accept it with;
// the option then records the key and fetches.
TEST(CliFetchTest, UnknownHostKeyIsRefusedThenAcceptedByTheOption) {
  if (const QString why = SftpTestServer::missing(); !why.isEmpty())
    GTEST_SKIP() << why.toStdString();
  ProgramFolderCopy program;
  ASSERT_TRUE(program.ok());
  SftpTestServer server;
  ASSERT_TRUE(server.started());
  writeAll(server.logs() + "access.log", sampleBytes(5000, 3));
  const QString profile = program.file("Secure Fetch.Kestrum");
  program.cli({"new", profile});
  program.cli({"set", profile, "FtpServer=sftp://127.0.0.1",
               "FtpPort=" + QString::number(server.port()), "FtpRemoteDir=" + server.logs(),
               "FtpRemoteFiles=*.log", "ProfileDir=fetched/", "FtpTimeout=10"});
  QDir(program.path()).mkdir("fetched");

  const auto refused = program.cli({"fetch", profile}, {30000, 0});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.out.contains(server.hostKeyFingerprint() + " is not in "))
      << refused.out.toStdString();
  EXPECT_TRUE(refused.out.contains("kestrum-cli fetch --accept-host-key \"" + profile + "\"\n"))
      << refused.out.toStdString();
  EXPECT_FALSE(QFileInfo::exists(program.file("fetched/access.log")));

  const auto accepted = program.cli({"fetch", "--accept-host-key", profile}, {30000, 0});
  EXPECT_EQ(accepted.exitCode, 0) << accepted.out.toStdString();
  EXPECT_TRUE(accepted.out.contains(
      "accepted the host key of [127.0.0.1]:" + QString::number(server.port()) + ", ssh-ed25519 " +
      server.hostKeyFingerprint()))
      << accepted.out.toStdString();
  EXPECT_EQ(readAll(program.file("fetched/access.log")), sampleBytes(5000, 3));

  EXPECT_EQ(program.cli({"fetch", profile, "--accept-everything"}).exitCode, 2);
}

} // namespace
