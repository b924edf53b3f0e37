// Where the program folder is (portable, installed, override) and how the
// per-user folder of an installed Kestrum is filled.

#include "platform/ProgramDir.h"
#include "platform/ProgramFolderSeeding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrum {
namespace {

bool write(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray read(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class ScopedEnv {
public:
  ScopedEnv(const char *name, const QByteArray &value) : name_(name), old_(qgetenv(name)) {
    had_ = qEnvironmentVariableIsSet(name);
    qputenv(name, value);
  }
  ~ScopedEnv() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }

private:
  const char *name_;
  QByteArray old_;
  bool had_ = false;
};

TEST(ProgramLayout, TheExecutablesFolderDecides) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString base = root.path() + u'/';
  ScopedEnv data("XDG_DATA_HOME", (base + "xdg").toUtf8());
  QDir().mkpath(base + "portable/Template");
  QDir().mkpath(base + "usr/lib/kestrum");
  QDir().mkpath(base + "usr/share/kestrum/Template");
  QDir().mkpath(base + "both/lib/kestrum/Template");
  QDir().mkpath(base + "both/share/kestrum/Template");
  QDir().mkpath(base + "bare/lib/kestrum");

  const struct {
    const char *exeDir;
    ProgramLayout::Mode mode;
    QString programDir;
    QString dataDir;
  } cases[] = {
      {"portable", ProgramLayout::Mode::Portable, base + "portable/", {}},
      {"usr/lib/kestrum", ProgramLayout::Mode::Installed, base + "xdg/kestrum/",
       base + "usr/share/kestrum/"},
      // A writable folder with its own templates stays portable.
      {"both/lib/kestrum", ProgramLayout::Mode::Portable, base + "both/lib/kestrum/", {}},
      {"bare/lib/kestrum", ProgramLayout::Mode::ExecutableFolder, base + "bare/lib/kestrum/", {}},
  };
  for (const auto &c : cases) {
    const ProgramLayout layout = layoutForExecutableFolder(base + QLatin1String(c.exeDir));
    EXPECT_EQ(layout.mode, c.mode) << c.exeDir;
    EXPECT_EQ(layout.programDir, c.programDir) << c.exeDir;
    EXPECT_EQ(layout.dataDir, c.dataDir) << c.exeDir;
    EXPECT_EQ(layout.executableDir, base + QLatin1String(c.exeDir) + u'/') << c.exeDir;
  }
}

TEST(ProgramLayout, UserFolderFollowsTheBaseDirectoryRules) {
  ScopedEnv home("HOME", "/home/ann");
  {
    ScopedEnv data("XDG_DATA_HOME", "/data/ann/");
    EXPECT_EQ(userProgramDir(), QStringLiteral("/data/ann/kestrum/"));
  }
  {
    ScopedEnv data("XDG_DATA_HOME", "relative/data"); // to be ignored
    EXPECT_EQ(userProgramDir(), QStringLiteral("/home/ann/.local/share/kestrum/"));
  }
  {
    ScopedEnv data("XDG_DATA_HOME", "");
    EXPECT_EQ(userProgramDir(), QStringLiteral("/home/ann/.local/share/kestrum/"));
  }
}

// An installed tree without the control library, and a user folder.
class Seeding : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    base_ = root_.path() + u'/';
    layout_.mode = ProgramLayout::Mode::Installed;
    layout_.executableDir = base_ + "lib/kestrum/";
    layout_.dataDir = base_ + "share/kestrum/";
    layout_.programDir = base_ + "user/kestrum/";
    ASSERT_TRUE(write(layout_.executableDir + "analog", "#!/bin/sh\n"));
    ASSERT_TRUE(write(installed("Template/Default.Kestrum"), "default 1"));
    ASSERT_TRUE(write(installed("Template/PlainText.Kestrum"), "plain 1"));
    ASSERT_TRUE(write(installed("TipOfDay.KestrumSettings"), "tips 1"));
    ASSERT_TRUE(write(installed("SampleAccess.log"), "log"));
  }
  QString installed(const QString &name) const { return layout_.dataDir + name; }
  QString user(const QString &name) const { return layout_.programDir + name; }
  void seed() {
    const Result result = seedProgramFolder(layout_);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
  }

  QTemporaryDir root_;
  QString base_;
  ProgramLayout layout_;
};

TEST_F(Seeding, FirstStartCopiesTheUsersFilesAndLinksTheRest) {
  seed();
  EXPECT_EQ(read(user("Template/Default.Kestrum")), "default 1");
  EXPECT_EQ(read(user("TipOfDay.KestrumSettings")), "tips 1");
  EXPECT_FALSE(QFileInfo(user("Template/Default.Kestrum")).isSymLink());
  EXPECT_EQ(QFile::symLinkTarget(user("SampleAccess.log")), installed("SampleAccess.log"));
  EXPECT_EQ(QFile::symLinkTarget(user("analog")), layout_.executableDir + "analog");
  EXPECT_FALSE(QFileInfo::exists(user("kestrum-dns"))); // not installed
}

TEST_F(Seeding, LaterStartsKeepWhatTheUserChangedAndOfferTheNewerFile) {
  seed();
  ASSERT_TRUE(write(user("Template/Default.Kestrum"), "mine"));
  ASSERT_TRUE(write(installed("Template/Default.Kestrum"), "default 2"));
  ASSERT_TRUE(write(installed("Template/PlainText.Kestrum"), "plain 2"));
  seed();
  EXPECT_EQ(read(user("Template/Default.Kestrum")), "mine");
  EXPECT_EQ(read(user("Template/Default (installed).Kestrum")), "default 2");
  EXPECT_EQ(read(user("Template/PlainText.Kestrum")), "plain 2"); // left unchanged: updated

  // The offered copy is the user's too; a third version takes the next name.
  ASSERT_TRUE(write(user("Template/Default (installed).Kestrum"), "mine as well"));
  ASSERT_TRUE(write(installed("Template/Default.Kestrum"), "default 3"));
  seed();
  seed();
  EXPECT_EQ(read(user("Template/Default (installed).Kestrum")), "mine as well");
  EXPECT_EQ(read(user("Template/Default (installed 2).Kestrum")), "default 3");
  EXPECT_EQ(QDir(user("Template")).entryList(QDir::Files).size(), 4);
}

TEST_F(Seeding, AFileItDidNotRecordIsTheUsers) {
  // A folder from before the record existed, or with the record lost.
  ASSERT_TRUE(write(user("Template/Default.Kestrum"), "mine"));
  ASSERT_TRUE(write(user("Template/PlainText.Kestrum"), "plain 1"));
  seed();
  EXPECT_EQ(read(user("Template/Default.Kestrum")), "mine");
  EXPECT_EQ(read(user("Template/Default (installed).Kestrum")), "default 1");
  EXPECT_FALSE(QFileInfo::exists(user("Template/PlainText (installed).Kestrum")));
}

TEST_F(Seeding, MissingPiecesAreMadeAgainAndStaleLinksFollowTheInstalledTree) {
  seed();
  QFile::remove(user("Template/PlainText.Kestrum"));
  QFile::remove(user("analog"));
  // A link into a tree that moved, and a user's own file where a link was.
  QFile::remove(user("SampleAccess.log"));
  ASSERT_TRUE(QFile::link(base_ + "old/share/kestrum/SampleAccess.log", user("SampleAccess.log")));
  ASSERT_TRUE(write(installed("QuickDNS.html"), "help"));
  ASSERT_TRUE(write(user("QuickDNS.html"), "my notes"));
  seed();
  EXPECT_EQ(read(user("Template/PlainText.Kestrum")), "plain 1");
  EXPECT_EQ(QFile::symLinkTarget(user("analog")), layout_.executableDir + "analog");
  EXPECT_EQ(QFile::symLinkTarget(user("SampleAccess.log")), installed("SampleAccess.log"));
  EXPECT_EQ(read(user("QuickDNS.html")), "my notes");
  EXPECT_FALSE(QFileInfo(user("QuickDNS.html")).isSymLink());
}

TEST_F(Seeding, OtherLayoutsAreLeftAlone) {
  layout_.mode = ProgramLayout::Mode::Portable;
  seed();
  EXPECT_FALSE(QFileInfo::exists(layout_.programDir));
}

TEST_F(Seeding, AFolderThatCannotBeMadeIsReported) {
  ASSERT_TRUE(write(base_ + "user/kestrum", "a file where the folder should be"));
  EXPECT_FALSE(seedProgramFolder(layout_).ok());
}

} // namespace
} // namespace kestrum
