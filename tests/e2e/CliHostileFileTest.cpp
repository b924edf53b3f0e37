// kestrum-cli on names that are not plain profile files (devices, FIFOs, link
// loops, a full disk, huge files) and on values a profile cannot hold: each
// ends in time with a clear message and the exit code, and never replaces or
// changes what the name stood for.

#include "ProgramFolderCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

bool isRoot() {
  return ::geteuid() == 0;
}

// What a name stands for, without opening it: type, inode, size, time and
// link target. A replaced or rewritten file shows a different print.
QString fingerprint(const QString &path) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
    return QStringLiteral("<missing>");
  return QStringLiteral("mode %1 ino %2 size %3 mtime %4.%5 -> %6")
      .arg(st.st_mode, 0, 8)
      .arg(st.st_ino)
      .arg(st.st_size)
      .arg(st.st_mtim.tv_sec)
      .arg(st.st_mtim.tv_nsec)
      .arg(QFileInfo(path).symLinkTarget());
}

// A tmpfs too small for one more profile, holding Good.Kestrum.
class FullDisk {
public:
  explicit FullDisk(const QString &dir) : dir_(dir) {}
  ~FullDisk() {
    if (mounted_)
      ::umount2(QFile::encodeName(dir_).constData(), MNT_DETACH);
  }
  bool make(const QString &profile) {
    if (!isRoot() || !QDir().mkpath(dir_))
      return false;
    mounted_ = ::mount("tmpfs", QFile::encodeName(dir_).constData(), "tmpfs", 0,
                       "size=64k,mode=0755") == 0;
    if (!mounted_ || !QFile::copy(profile, dir_ + QStringLiteral("/Good.Kestrum")))
      return false;
    QFile filler(dir_ + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly))
      return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    return true;
  }

private:
  QString dir_;
  bool mounted_ = false;
};

struct HostileCase {
  const char *name;
  // Prepares {dir}/Target.Kestrum (or other names); false: skip here.
  bool (*setup)(const QString &dir);
  QStringList args; // "{dir}" stands for the program folder
  int exitCode;
  const char *errorHolds;
  const char *unchanged; // the name whose fingerprint must not change
};

bool copyTemplate(const QString &dir, const QString &to) {
  return QFile::copy(dir + QStringLiteral("/Template/Default.Kestrum"),
                     dir + QLatin1Char('/') + to);
}

bool goodProfile(const QString &dir) {
  return copyTemplate(dir, QStringLiteral("Good.Kestrum"));
}

bool deviceNode(const QString &dir) {
  // The same node as /dev/zero: reading it never ends.
  return isRoot() && ::mknod(QFile::encodeName(dir + QStringLiteral("/Target.Kestrum")).constData(),
                             S_IFCHR | 0644, makedev(1, 5)) == 0;
}

bool fifo(const QString &dir) {
  return ::mkfifo(QFile::encodeName(dir + QStringLiteral("/Target.Kestrum")).constData(), 0644) ==
         0;
}

bool linkLoop(const QString &dir) {
  return QFile::link(dir + QStringLiteral("/Other.Kestrum"),
                     dir + QStringLiteral("/Target.Kestrum")) &&
         QFile::link(dir + QStringLiteral("/Target.Kestrum"),
                     dir + QStringLiteral("/Other.Kestrum"));
}

bool danglingLink(const QString &dir) {
  return QFile::link(dir + QStringLiteral("/Gone.Kestrum"),
                     dir + QStringLiteral("/Target.Kestrum"));
}

bool nothing(const QString &) {
  return true;
}

const HostileCase kCases[] = {
    {"SetOnDeviceNode",
     deviceNode,
     {"set", "{dir}/Target.Kestrum", "ProfileName=x"},
     1,
     "a device",
     "Target.Kestrum"},
    {"DumpDeviceNode",
     deviceNode,
     {"dump", "{dir}/Target.Kestrum"},
     1,
     "a device",
     "Target.Kestrum"},
    {"SetOnFifo",
     fifo,
     {"set", "{dir}/Target.Kestrum", "ProfileName=x"},
     1,
     "a FIFO",
     "Target.Kestrum"},
    {"DumpFifo", fifo, {"dump", "{dir}/Target.Kestrum"}, 1, "a FIFO", "Target.Kestrum"},
    {"CfgFifo", fifo, {"cfg", "{dir}/Target.Kestrum"}, 1, "a FIFO", "Target.Kestrum"},
    {"SetOnLinkLoop",
     linkLoop,
     {"set", "{dir}/Target.Kestrum", "ProfileName=x"},
     1,
     "loops",
     "Target.Kestrum"},
    {"DumpLinkLoop", linkLoop, {"dump", "{dir}/Target.Kestrum"}, 1, "loops", "Target.Kestrum"},
    {"SetOnDanglingLink",
     danglingLink,
     {"set", "{dir}/Target.Kestrum", "ProfileName=x"},
     1,
     "link to nothing",
     "Target.Kestrum"},
    {"SetFromDevZero",
     goodProfile,
     {"set", "{dir}/Good.Kestrum", "@/dev/zero"},
     1,
     "a device",
     "Good.Kestrum"},
    {"SetFromFifo",
     fifo,
     {"set", "{dir}/Template/Default.Kestrum", "@{dir}/Target.Kestrum"},
     1,
     "a FIFO",
     "Template/Default.Kestrum"},
    {"SetSwitchToTwo",
     goodProfile,
     {"set", "{dir}/Good.Kestrum", "DebugOn=2"},
     2,
     "DebugOn",
     "Good.Kestrum"},
    {"SetSwitchToWord",
     goodProfile,
     {"set", "{dir}/Good.Kestrum", "DebugOn=yes"},
     2,
     "DebugOn",
     "Good.Kestrum"},
    {"SetOnMissingFile",
     nothing,
     {"set", "{dir}/Missing.Kestrum", "ProfileName=x"},
     1,
     "Missing.Kestrum",
     "Missing.Kestrum"},
    {"NewOverExistingFile",
     goodProfile,
     {"new", "{dir}/Good.Kestrum"},
     1,
     "exists already",
     "Good.Kestrum"},
    {"NewOverLinkLoop", linkLoop, {"new", "{dir}/Target.Kestrum"}, 1, "loops", "Target.Kestrum"},
    {"NewFromMissingTemplate",
     nothing,
     {"new", "{dir}/New.Kestrum", "--template", "Nope"},
     1,
     "Nope.Kestrum",
     "New.Kestrum"},
    {"NewWithoutProfile", nothing, {"new"}, 2, "usage", "New.Kestrum"},
};

void PrintTo(const HostileCase &c, std::ostream *os) {
  *os << c.name;
}

class CliHostileFile : public testing::TestWithParam<HostileCase> {};

TEST_P(CliHostileFile, RefusesInTimeAndLeavesTheNameAlone) {
  const HostileCase &c = GetParam();
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  if (!c.setup(folder.path()))
    GTEST_SKIP() << "cannot prepare this case here (needs root?)";
  const QString watched = folder.file(QLatin1String(c.unchanged));
  const QString before = fingerprint(watched);

  QStringList args = c.args;
  args.replaceInStrings(QStringLiteral("{dir}"), folder.path());
  ProgramFolderCopy::Limits limits;
  limits.timeoutMs = 20000; // a read that blocks on a FIFO never ends by itself
  const auto run = folder.cli(args, limits);

  EXPECT_FALSE(run.crashed) << "killed after 20 s or crashed";
  EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(run.err);
  EXPECT_TRUE(run.err.contains(QLatin1String(c.errorHolds), Qt::CaseInsensitive))
      << qPrintable(run.err);
  EXPECT_EQ(fingerprint(watched), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, CliHostileFile, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<HostileCase> &info) {
                           return std::string(info.param.name);
                         });

QString dumpValue(const ProgramFolderCopy &folder, const QString &profile, const QString &name) {
  const auto dump = folder.cli({QStringLiteral("dump"), profile});
  for (const QString &line : dump.out.split(QLatin1Char('\n')))
    if (line.startsWith(name + QLatin1Char('=')))
      return line.mid(name.size() + 1);
  return QStringLiteral("<no %1 in dump: %2>").arg(name, dump.err);
}

TEST(CliHostileFile, FullDiskSaysWhyAndKeepsTheProfile) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const QString disk = folder.file(QStringLiteral("small-disk"));
  FullDisk full(disk);
  if (!full.make(folder.file(QStringLiteral("Template/Default.Kestrum"))))
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  const QString profile = disk + QStringLiteral("/Good.Kestrum");
  const QString before = fingerprint(profile);

  const auto run = folder.cli({QStringLiteral("set"), profile, QStringLiteral("ProfileName=x")});

  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QLatin1String("No space left on device"))) << qPrintable(run.err);
  EXPECT_EQ(fingerprint(profile), before);
  EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{QStringLiteral("Good.Kestrum"), QStringLiteral("filler")}))
      << "the temporary file stays behind";
}

// A profile with a 2 GiB tail (sparse, so it takes no disk): saving keeps the
// tail byte for byte while the program may use far less memory than the file.
TEST(CliHostileFile, HugeTailIsCopiedWithFlatMemory) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const QString profile = folder.file(QStringLiteral("Big.Kestrum"));
  ASSERT_TRUE(copyTemplate(folder.path(), QStringLiteral("Big.Kestrum")));
  const qint64 recordSize = QFileInfo(profile).size();
  const qint64 size = recordSize + (qint64(2) << 30);
  {
    QFile file(profile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(recordSize + 100) && file.write("start of tail") == 13);
    ASSERT_TRUE(file.seek(size - 4) && file.write("END.") == 4);
  }

  ProgramFolderCopy::Limits limits;
  limits.memoryBytes = qint64(1) << 30; // half the tail
  const auto run =
      folder.cli({QStringLiteral("set"), profile, QStringLiteral("ProfileName=renamed")}, limits);

  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  EXPECT_EQ(dumpValue(folder, profile, QStringLiteral("ProfileName")), QStringLiteral("renamed"));
  // The old bytes behind the new record stay where they were.
  QFile file(profile);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.size(), size);
  ASSERT_TRUE(file.seek(recordSize + 100));
  EXPECT_EQ(file.read(13), QByteArray("start of tail"));
  ASSERT_TRUE(file.seek(size - 4));
  EXPECT_EQ(file.read(4), QByteArray("END."));
}

TEST(CliHostileFile, SwitchesAndCharactersAreStoredAsAProfileHoldsThem) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_TRUE(goodProfile(folder.path()));
  const QString profile = folder.file(QStringLiteral("Good.Kestrum"));
  // Too long for one argument: given as an @FILE line.
  const QString manyEmoji = folder.file(QStringLiteral("emoji.txt"));
  ASSERT_TRUE(
      writeText(manyEmoji, "OtherCommands=" + QByteArray("\xF0\x9F\x98\x80").repeated(32768)));

  const auto set = folder.cli({QStringLiteral("set"), profile, QStringLiteral("DebugOn=1"),
                               QStringLiteral("WarningsOn=FALSE"),
                               QString::fromUtf8("HostName=a\xF0\x9F\x98\x80"
                                                 "b"),
                               QLatin1Char('@') + manyEmoji});

  ASSERT_EQ(set.exitCode, 0) << qPrintable(set.err);
  EXPECT_EQ(dumpValue(folder, profile, QStringLiteral("DebugOn")), QStringLiteral("True"));
  EXPECT_EQ(dumpValue(folder, profile, QStringLiteral("WarningsOn")), QStringLiteral("False"));
  EXPECT_EQ(dumpValue(folder, profile, QStringLiteral("HostName")), QStringLiteral("a?b"));
  EXPECT_EQ(dumpValue(folder, profile, QStringLiteral("OtherCommands")),
            QString(32768, QLatin1Char('?')));
}

TEST(CliHostileFile, NewWritesAPrivateProfileFromATemplate) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  struct {
    QStringList extra;
    const char *templateFile;
  } cases[] = {{{}, "Default.Kestrum"},
               {{"--template", "PlainText"}, "PlainText.Kestrum"},
               {{"--template", "PlainText.Kestrum"}, "PlainText.Kestrum"}};
  int n = 0;
  for (const auto &c : cases) {
    const QString profile = folder.file(QStringLiteral("New%1.Kestrum").arg(n++));
    const auto made = folder.cli(QStringList{QStringLiteral("new"), profile} + c.extra);
    ASSERT_EQ(made.exitCode, 0) << qPrintable(made.err);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(profile).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "it may hold the FTP password";
    const QString templatePath =
        folder.file(QStringLiteral("Template/") + QLatin1String(c.templateFile));
    EXPECT_EQ(folder.cli({QStringLiteral("dump"), profile}).out,
              folder.cli({QStringLiteral("dump"), templatePath}).out)
        << c.templateFile;
  }
}

// Root saving another user's profile gives it back to that user.
TEST(CliHostileFile, SavingKeepsOwnerGroupAndMode) {
  if (!isRoot())
    GTEST_SKIP() << "changing owners needs root";
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_TRUE(goodProfile(folder.path()));
  const QByteArray profile = QFile::encodeName(folder.file(QStringLiteral("Good.Kestrum")));
  ASSERT_EQ(::chown(profile.constData(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(profile.constData(), 0640), 0);

  const auto run = folder.cli(
      {QStringLiteral("set"), QString::fromLocal8Bit(profile), QStringLiteral("ProfileName=x")});

  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  struct stat st {};
  ASSERT_EQ(::stat(profile.constData(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

} // namespace
