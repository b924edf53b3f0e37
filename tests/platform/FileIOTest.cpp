// Replacing and reading files: links followed to their file, modes and
// owners kept, new private files, a read-only folder, size caps.

#include "platform/FileIO.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kestrum;
using kestrum::test::readAll;
using kestrum::test::runAsUnprivilegedUser;
using kestrum::test::writeAll;

namespace {

mode_t modeOf(const QString &path) {
  struct stat st {};
  ::lstat(QFile::encodeName(path).constData(), &st);
  return st.st_mode;
}

class FileIO : public testing::Test {
protected:
  QString path(const char *name) const { return dir_.filePath(QLatin1String(name)); }
  QTemporaryDir dir_;
};

TEST_F(FileIO, ANewFileGetsTheUmaskOrOwnerOnlyAndAnOldFileKeepsItsMode) {
  const mode_t mask = ::umask(022);
  WriteOptions privateFile;
  privateFile.ownerOnlyIfNew = true;
  ASSERT_TRUE(writeFileAtomically(path("shared"), "a").ok());
  ASSERT_TRUE(writeFileAtomically(path("private"), "a", privateFile).ok());
  ASSERT_EQ(::chmod(QFile::encodeName(path("shared")).constData(), 0640), 0);
  ASSERT_TRUE(writeFileAtomically(path("shared"), "b", privateFile).ok());
  ::umask(mask);

  EXPECT_EQ(modeOf(path("private")) & 0777, 0600u);
  EXPECT_EQ(modeOf(path("shared")) & 0777, 0640u);
  EXPECT_EQ(readAll(path("shared")), "b");
}

TEST_F(FileIO, ALinkIsFollowedAndStaysALink) {
  writeAll(path("real"), "old");
  ASSERT_TRUE(QFile::link(path("real"), path("link")));

  ASSERT_TRUE(writeFileAtomically(path("link"), "new").ok());

  EXPECT_TRUE(QFileInfo(path("link")).isSymLink());
  EXPECT_EQ(readAll(path("real")), "new");
}

TEST_F(FileIO, KeepingTheOldTailLeavesItsBytesWhereTheyWere) {
  writeAll(path("f"), "0123456789");
  WriteOptions keep;
  keep.keepOldTail = true;
  ASSERT_TRUE(writeFileAtomically(path("f"), "abc", keep).ok());
  EXPECT_EQ(readAll(path("f")), "abc3456789");
  ASSERT_TRUE(writeFileAtomically(path("f"), "ABCDEFGHIJKL", keep).ok());
  EXPECT_EQ(readAll(path("f")), "ABCDEFGHIJKL");
  ASSERT_TRUE(writeFileAtomically(path("f"), "x").ok());
  EXPECT_EQ(readAll(path("f")), "x");
}

TEST_F(FileIO, MustNotExistRefusesAnyExistingName) {
  WriteOptions create;
  create.mustNotExist = true;
  writeAll(path("there"), "keep");
  ASSERT_TRUE(QFile::link(path("there"), path("link")));

  EXPECT_FALSE(writeFileAtomically(path("there"), "x", create).ok());
  EXPECT_FALSE(writeFileAtomically(path("link"), "x", create).ok());
  EXPECT_TRUE(writeFileAtomically(path("fresh"), "x", create).ok());
  EXPECT_EQ(readAll(path("there")), "keep");
  EXPECT_EQ(readAll(path("fresh")), "x");
}

TEST_F(FileIO, ReadSmallFileReadsUpToItsCapAndRefusesMore) {
  writeAll(path("ten"), "0123456789");
  QByteArray bytes;
  ASSERT_TRUE(readSmallFile(path("ten"), 10, bytes).ok());
  EXPECT_EQ(bytes, "0123456789");

  const struct {
    QString file;
    qint64 cap;
    const char *errorHolds;
  } refused[] = {{path("ten"), 9, "too big"},
                 {QStringLiteral("/dev/zero"), 1 << 20, "a device"},
                 {dir_.path(), 1 << 20, "a folder"},
                 {path("missing"), 1 << 20, "No such file"}};
  for (const auto &c : refused) {
    bytes = "unchanged";
    const Result r = readSmallFile(c.file, c.cap, bytes);
    EXPECT_TRUE(r.error.contains(QLatin1String(c.errorHolds))) << qPrintable(r.error);
    EXPECT_EQ(bytes, "unchanged");
  }
}

// A writable file in a folder the user may not write to is written in
// place: no temporary file can be made beside it.
TEST_F(FileIO, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
  const QString folder = path("ro");
  ASSERT_TRUE(QDir().mkdir(folder));
  const QString file = folder + QStringLiteral("/p.Kestrum");
  writeAll(file, "0123456789");
  const QByteArray nativeFile = QFile::encodeName(file);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
    ASSERT_EQ(::chown(nativeFile.constData(), 65534, 65534), 0);
  }
  ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);

  WriteOptions keep;
  keep.keepOldTail = true;
  EXPECT_TRUE(runAsUnprivilegedUser([&] { return writeFileAtomically(file, "abc", keep).ok(); }));
  EXPECT_EQ(readAll(file), "abc3456789");
  EXPECT_TRUE(runAsUnprivilegedUser([&] { return writeFileAtomically(file, "xy").ok(); }));
  EXPECT_EQ(readAll(file), "xy");
  // A new file there still cannot be made.
  EXPECT_FALSE(runAsUnprivilegedUser(
      [&] { return writeFileAtomically(folder + QStringLiteral("/new"), "x").ok(); }));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"p.Kestrum"});
  ::chmod(QFile::encodeName(folder).constData(), 0755);
}

} // namespace
