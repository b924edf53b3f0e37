#include "shell/Settings.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kestrum;

namespace {

class SettingsTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString file = dir.filePath(QStringLiteral("Kestrum.KestrumSettings"));

  QByteArray bytes() const { return test::readAll(file); }
  void setBytes(const QByteArray &b) const { test::writeAll(file, b); }
};

TEST_F(SettingsTest, EmptySettingsAre70BytesWithVersion20000) {
  ApplicationSettings s;
  s.FormatVersion = 7;
  ASSERT_TRUE(WriteSettingsFile(file, s).ok());
  EXPECT_EQ(s.FormatVersion, 20000);
  const QByteArray b = bytes();
  ASSERT_EQ(b.size(), 70);
  EXPECT_EQ(b.left(4), QByteArray("\x20\x4E\x00\x00", 4));
  EXPECT_EQ(b.mid(4), QByteArray(66, '\0'));
}

TEST_F(SettingsTest, RoundTripsEveryFieldInItsPlace) {
  ApplicationSettings s;
  s.RecentFiles[0] = {QStringLiteral("Caf\u00E9"), QStringLiteral("/p/a.Kestrum")};
  s.RecentFiles[10] = {QStringLiteral("Last"), QStringLiteral("/p/z.Kestrum")};
  s.Options.Reserved1 = 0x01020304;
  s.Options.MaxRecentFiles = 5;
  s.Options.ShowNewOpenAtStartup = -1;
  s.Options.AskToSave = 1; // not exactly true, kept as stored
  s.Options.Reserved2 = QStringLiteral("r");
  s.Options.LastDir = QStringLiteral("/home/u/");
  s.Options.OfflineMode = -1;
  s.Options.ShowTipsAtStartup = -1;
  ASSERT_TRUE(WriteSettingsFile(file, s).ok());

  const QByteArray b = bytes();
  // Name "Café" is stored in Windows-1252 right after FormatVersion.
  EXPECT_EQ(b.mid(4, 6), QByteArray("\x04\x00"
                                    "Caf\xE9",
                                    6));
  EXPECT_TRUE(b.endsWith(QByteArray("\x08\x00/home/u/\xFF\xFF\xFF\xFF", 14)));

  ApplicationSettings read;
  ASSERT_TRUE(ReadSettingsFile(file, read).ok());
  EXPECT_EQ(read, s);
  EXPECT_FALSE(isTrue16(read.Options.AskToSave));
  EXPECT_TRUE(isTrue16(read.Options.OfflineMode));
}

TEST_F(SettingsTest, MissingAndEmptyFilesGiveDefaults) {
  ApplicationSettings s;
  s.Options.MaxRecentFiles = 3;
  ASSERT_TRUE(ReadSettingsFile(file, s).ok());
  EXPECT_EQ(s, ApplicationSettings{});
  EXPECT_FALSE(QFile::exists(file));
  setBytes({});
  ASSERT_TRUE(ReadSettingsFile(file, s).ok());
  EXPECT_EQ(s, ApplicationSettings{});
}

TEST_F(SettingsTest, DamagedFilesAreRejectedWholeAndLeftAlone) {
  ApplicationSettings good;
  good.RecentFiles[0] = {QStringLiteral("A"), QStringLiteral("/a.Kestrum")};
  good.Options.LastDir = QStringLiteral("/x/");
  ASSERT_TRUE(WriteSettingsFile(file, good).ok());
  const QByteArray valid = bytes();

  QByteArray lengthPastEnd = valid;
  lengthPastEnd[4] = char(0xFF); // Name of entry 0 claims 255 bytes
  const QByteArray damaged[] = {valid.left(valid.size() - 1), valid.left(3), lengthPastEnd,
                                QByteArray(2 * 1024 * 1024, 'x')};
  for (const QByteArray &content : damaged) {
    setBytes(content);
    ApplicationSettings s = good;
    EXPECT_FALSE(ReadSettingsFile(file, s).ok()) << content.size();
    EXPECT_EQ(s, ApplicationSettings{}) << content.size();
    EXPECT_EQ(bytes(), content) << "the file stays as it was";
  }
}

// A settings file linked to a device or a FIFO must not stall or exhaust the
// program at start-up: it is refused like a damaged file.
TEST_F(SettingsTest, NoRegularFileIsRejectedWithoutReading) {
  const QString fifo = dir.filePath(QStringLiteral("fifo"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString &target : {QStringLiteral("/dev/zero"), fifo, dir.path()}) {
    QFile::remove(file);
    ASSERT_TRUE(QFile::link(target, file));
    ApplicationSettings s;
    s.Options.LastDir = QStringLiteral("/x/");
    EXPECT_FALSE(ReadSettingsFile(file, s).ok()) << qPrintable(target);
    EXPECT_EQ(s, ApplicationSettings{}) << qPrintable(target);
  }
}

TEST_F(SettingsTest, ANewFileIsItsOwnersOnly) {
  ApplicationSettings s;
  ASSERT_TRUE(WriteSettingsFile(file, s).ok());
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "it names the user's profiles";
}

TEST_F(SettingsTest, DoSetLastDirKeepsTheFolderWithItsSeparator) {
  ApplicationSettings s;
  DoSetLastDir(s, QStringLiteral("/home/u/sites/a.Kestrum"), QStringLiteral("a.Kestrum"));
  EXPECT_EQ(s.Options.LastDir, QStringLiteral("/home/u/sites/"));
  DoSetLastDir(s, QStringLiteral("a"), QStringLiteral("longer"));
  EXPECT_EQ(s.Options.LastDir, QString());
}

TEST_F(SettingsTest, RemoveRecentFileClosesTheGap) {
  ApplicationSettings s;
  for (int i = 0; i < kRecentFileCount; ++i)
    s.RecentFiles[i] = {QString::number(i), QStringLiteral("/%1").arg(i)};
  RemoveRecentFile(s, 3);
  EXPECT_EQ(s.RecentFiles[2].Name, QStringLiteral("2"));
  EXPECT_EQ(s.RecentFiles[3].Name, QStringLiteral("4"));
  EXPECT_EQ(s.RecentFiles[9].Name, QStringLiteral("10"));
  EXPECT_EQ(s.RecentFiles[10], RecentFile{});
  RemoveRecentFile(s, 10);
  EXPECT_EQ(s.RecentFiles[10], RecentFile{});
  EXPECT_EQ(s.RecentFiles[9].Name, QStringLiteral("10"));
}

} // namespace
