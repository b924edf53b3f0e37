#include "profile/ProfileFile.h"
#include "TestFiles.h"
#include "profile/ProfileText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kestrum;
using namespace kestrum::test;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

Profile stampedEmptyProfile() {
  Profile p;
  StampSignatureAndVersion(p);
  return p;
}

TEST_F(ProfileFileTest, EmptyRecordHasTheDocumentedSizeAndOffsets) {
  ASSERT_TRUE(WriteProfileFile(path("a.Kestrum"), stampedEmptyProfile()).ok());
  const QByteArray bytes = readAll(path("a.Kestrum"));
  ASSERT_EQ(bytes.size(), 6501);
  EXPECT_EQ(bytes.mid(6006, 2), QByteArray("\x07\x00", 2));
  EXPECT_EQ(bytes.mid(6008, 7), QByteArray("Kestrum"));
  EXPECT_EQ(bytes.mid(6015, 4), QByteArray("\x20\x4E\x00\x00", 4));
  // Every other byte of an empty record is zero: strings are 00 00, numbers 0.
  EXPECT_EQ(bytes.left(6006), QByteArray(6006, '\0'));
  EXPECT_EQ(bytes.mid(6019), QByteArray(6501 - 6019, '\0'));
}

TEST_F(ProfileFileTest, FieldsOfEveryTypeRoundTrip) {
  Profile p = stampedEmptyProfile();
  p.Settings.LogFile = QStringLiteral("./logs/access.log, ./logs/old*.log");
  p.Settings.NoRobots = kTrue16;
  p.Settings.FtpTimeout = -60;
  p.Settings.ReservedInt = 0x1234;
  p.Settings.ReportOn[31] = kTrue16;
  p.Settings.AllBack = 7; // a value the program never stores is still kept
  p.Settings.BrowserTreeLevel = 2;
  p.ReservedList[1000] = QStringLiteral("kept");
  ASSERT_TRUE(WriteProfileFile(path("a.Kestrum"), p).ok());

  Profile read;
  bool complete = false;
  ASSERT_TRUE(ReadProfileFile(path("a.Kestrum"), read, &complete).ok());
  EXPECT_EQ(read, p);
  EXPECT_TRUE(complete);
}

TEST_F(ProfileFileTest, ListEntriesBehindTheFirstEmptyOneAreStoredAndLoaded) {
  Profile p;
  p.Aliases[0].Text = QStringLiteral("FILEALIAS /a /b");
  p.Aliases[1].Text = QStringLiteral("FILEALIAS /c /d");
  p.Aliases[3].Text = QStringLiteral("hidden behind the gap");
  p.Excludes[1000].Text = QStringLiteral("last");
  ASSERT_TRUE(WriteProfileFile(path("a.Kestrum"), p).ok());

  Profile read;
  ASSERT_TRUE(ReadProfileFile(path("a.Kestrum"), read).ok());
  EXPECT_EQ(read.Aliases, p.Aliases);
  EXPECT_EQ(read.Excludes, p.Excludes);
  EXPECT_EQ(usedListLength(read.Aliases), 2);
  EXPECT_EQ(usedListLength(read.Excludes), 0);
}

TEST_F(ProfileFileTest, ZeroByteAndMissingFilesReadAsAnEmptyProfile) {
  writeAll(path("zero.Kestrum"), {});
  for (const char *name : {"zero.Kestrum", "missing.Kestrum"}) {
    Profile p;
    p.Settings.ProfileName = QStringLiteral("before");
    p.Settings.FtpTimeout = 60;
    p.Aliases[0].Text = QStringLiteral("before");
    ASSERT_TRUE(ReadProfileFile(path(name), p).ok()) << name;
    EXPECT_EQ(p, Profile{}) << name;
  }
  EXPECT_FALSE(QFile::exists(path("missing.Kestrum"))) << "reading must not create files";
}

TEST_F(ProfileFileTest, AShortFileReadsWhatItHoldsAndEmptiesTheRest) {
  Profile p = stampedEmptyProfile();
  p.Settings.ProfileName = QStringLiteral("Site");
  p.Settings.ProfileDir = QStringLiteral("/srv/logs");
  p.Settings.BrowserTreeLevel = 2;
  ASSERT_TRUE(WriteProfileFile(path("full.Kestrum"), p).ok());
  const QByteArray full = readAll(path("full.Kestrum"));

  // Cut inside ProfileDir's text: ProfileName survives, ProfileDir (cut in
  // two) and everything behind it read as empty or 0.
  const qsizetype profileDirText = full.indexOf("/srv/logs");
  ASSERT_GT(profileDirText, 0);
  writeAll(path("short.Kestrum"), full.left(profileDirText + 3));
  Profile read;
  read.Settings.BrowserTreeLevel = 9;
  bool complete = true;
  ASSERT_TRUE(ReadProfileFile(path("short.Kestrum"), read, &complete).ok());
  EXPECT_FALSE(complete);
  EXPECT_EQ(read.Settings.ProfileName, QStringLiteral("Site"));
  EXPECT_EQ(read.Settings.ProfileDir, QString());
  EXPECT_EQ(read.Settings.BrowserTreeLevel, 0);
}

TEST_F(ProfileFileTest, WritingOverALongerFileKeepsItsTailWhichReadingIgnores) {
  const QByteArray tail("OLD-TRAILING-BYTES");
  Profile big = stampedEmptyProfile();
  big.Settings.OtherCommands = QString(500, QLatin1Char('x'));
  ASSERT_TRUE(WriteProfileFile(path("a.Kestrum"), big).ok());
  {
    QFile f(path("a.Kestrum"));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(tail);
  }
  const QByteArray before = readAll(path("a.Kestrum"));

  const Profile small = stampedEmptyProfile();
  ASSERT_TRUE(WriteProfileFile(path("a.Kestrum"), small).ok());
  const QByteArray after = readAll(path("a.Kestrum"));
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.left(6501), encodeProfile(small));
  EXPECT_EQ(after.mid(6501), before.mid(6501));
  EXPECT_TRUE(after.endsWith(tail));

  Profile read;
  ASSERT_TRUE(ReadProfileFile(path("a.Kestrum"), read).ok());
  EXPECT_EQ(read, small);
}

TEST_F(ProfileFileTest, Windows1252BytesRoundTripExactly) {
  QByteArray all;
  for (int b = 1; b < 256; ++b)
    all.append(char(b));
  QByteArray file = encodeProfile(Profile{});
  // Put every byte value into ProfileName (first settings string after Signature + FormatVersion).
  const qsizetype profileNameAt = 6006 + 2 + 4;
  file.replace(profileNameAt, 2, QByteArray("\xFF\x00", 2) + all);
  writeAll(path("bytes.Kestrum"), file);

  Profile read;
  ASSERT_TRUE(ReadProfileFile(path("bytes.Kestrum"), read).ok());
  EXPECT_EQ(read.Settings.ProfileName.size(), 255);
  EXPECT_EQ(read.Settings.ProfileName[0x80 - 1], QChar(0x20AC)); // euro sign
  ASSERT_TRUE(WriteProfileFile(path("again.Kestrum"), read).ok());
  EXPECT_EQ(readAll(path("again.Kestrum")), file);
}

TEST_F(ProfileFileTest, CharactersOutside1252AreStoredAsQuestionMarks) {
  Profile p;
  p.Settings.HostName = QStringLiteral("caf\u00E9 \u20AC \u4E2D \U0001F600");
  ASSERT_TRUE(WriteProfileFile(path("a.Kestrum"), p).ok());
  Profile read;
  ASSERT_TRUE(ReadProfileFile(path("a.Kestrum"), read).ok());
  EXPECT_EQ(read.Settings.HostName, QStringLiteral("caf\u00E9 \u20AC ? ?"));
}

TEST_F(ProfileFileTest, RefusedWritesLeaveTheOldFileAsItWas) {
  Profile tooLong;
  tooLong.Settings.OtherCommands = QString(65536, QLatin1Char('x'));
  Profile fits;
  fits.Settings.OtherCommands = QString(65535, QLatin1Char('x'));
  EXPECT_TRUE(WriteProfileFile(path("max.Kestrum"), fits).ok());

  const QByteArray old = encodeProfile(stampedEmptyProfile());
  writeAll(path("a.Kestrum"), old);
  const Result r = WriteProfileFile(path("a.Kestrum"), tooLong);
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(r.error.contains(QLatin1String("OtherCommands"))) << r.error.toStdString();
  EXPECT_EQ(readAll(path("a.Kestrum")), old);

  EXPECT_FALSE(WriteProfileFile(path("new.Kestrum"), tooLong).ok());
  EXPECT_FALSE(QFile::exists(path("new.Kestrum")));

  QFile::setPermissions(path("a.Kestrum"), QFileDevice::ReadOwner);
  EXPECT_FALSE(WriteProfileFile(path("a.Kestrum"), fits).ok());
  EXPECT_EQ(readAll(path("a.Kestrum")), old);
}

TEST_F(ProfileFileTest, AFolderCannotBeReadAndLeavesTheProfileUntouched) {
  Profile p;
  p.Settings.ProfileName = QStringLiteral("kept");
  EXPECT_FALSE(ReadProfileFile(dir.path(), p).ok());
  EXPECT_EQ(p.Settings.ProfileName, QStringLiteral("kept"));
}

} // namespace
