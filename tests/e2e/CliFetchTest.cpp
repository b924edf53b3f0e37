// kestrum-cli fetch as a separate process against a real FTP server: the
// progress texts on standard output, exit 0 after a clean exchange, and
// exit 1 (never a hang) after an error.

#include "FtpTestServer.h"
#include "ProgramFolderCopy.h"

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

} // namespace
