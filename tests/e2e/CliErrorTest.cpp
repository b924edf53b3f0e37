// kestrum-cli on missing, unreadable or damaged files and on bad usage: a
// message on standard error, exit 1 (failure) or 2 (usage), and not a byte
// written in the program folder.

#include "ProgramFolderCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

namespace {

struct CliCase {
  const char *name;
  QStringList args; // "{dir}" stands for the program folder
  int exitCode;
  const char *errorHolds;
  bool configIsFolder = false; // analog.cfg cannot be replaced
};

const CliCase kCases[] = {
    {"DumpMissingProfile", {"dump", "{dir}/Missing.Kestrum"}, 1, "Missing.Kestrum"},
    {"DumpFolder", {"dump", "{dir}/Folder.Kestrum"}, 1, "Folder.Kestrum"},
    {"DumpDamagedProfile", {"dump", "{dir}/Damaged.Kestrum"}, 1, "Damaged.Kestrum"},
    {"SetOnDamagedProfile",
     {"set", "{dir}/Damaged.Kestrum", "ProfileName=x"},
     1,
     "Damaged.Kestrum"},
    {"SetOnFolder", {"set", "{dir}/Folder.Kestrum", "ProfileName=x"}, 1, "Folder.Kestrum"},
    {"SetFromMissingFile", {"set", "{dir}/New.Kestrum", "@{dir}/missing.txt"}, 1, "missing.txt"},
    {"SetFromFolder", {"set", "{dir}/New.Kestrum", "@{dir}/Folder.Kestrum"}, 1, "Folder.Kestrum"},
    {"CfgMissingProfile", {"cfg", "{dir}/Missing.Kestrum"}, 1, "Missing.Kestrum"},
    {"FetchMissingProfile", {"fetch", "{dir}/Missing.Kestrum"}, 1, "Missing.Kestrum"},
    {"FetchTwoProfiles", {"fetch", "{dir}/Good.Kestrum", "{dir}/Good.Kestrum"}, 2, "usage"},
    {"CfgDamagedProfile", {"cfg", "{dir}/Damaged.Kestrum"}, 1, "Damaged.Kestrum"},
    {"CfgCannotReplaceConfig", {"cfg", "{dir}/Good.Kestrum"}, 1, "Error creating .cfg file", true},
    {"SetUnknownField", {"set", "{dir}/Good.Kestrum", "Bogus=1"}, 2, "Bogus"},
    {"SetBadEscape", {"set", "{dir}/Good.Kestrum", "ProfileName=a\\q"}, 2, "ProfileName"},
    {"SetWithoutEquals", {"set", "{dir}/Good.Kestrum", "ProfileName"}, 2, "ProfileName"},
    {"SetFileWithUnknownField",
     {"set", "{dir}/Good.Kestrum", "@{dir}/unknown-field.txt"},
     2,
     "Bogus"},
    {"SetNothing", {"set", "{dir}/Good.Kestrum"}, 2, "usage"},
    {"NoCommand", {}, 2, "usage"},
    {"UnknownCommand", {"frobnicate", "{dir}/Good.Kestrum"}, 2, "frobnicate"},
    {"DumpTwoProfiles", {"dump", "{dir}/Good.Kestrum", "{dir}/Good.Kestrum"}, 2, "usage"},
    {"CfgPeriodNotANumber", {"cfg", "{dir}/Good.Kestrum", "--period", "x"}, 2, "--period"},
    {"CfgPeriodWrongBoxCount",
     {"cfg", "{dir}/Good.Kestrum", "--period", "0", "25", "09"},
     2,
     "usage"},
};

// Every file and folder below dir with its bytes, to show that nothing changed.
QMap<QString, QByteArray> snapshot(const QString &dir) {
  QMap<QString, QByteArray> entries;
  QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile f(path);
    entries.insert(QDir(dir).relativeFilePath(path),
                   it.fileInfo().isDir()
                       ? QByteArray("<folder>")
                       : (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>")));
  }
  return entries;
}

void PrintTo(const CliCase &c, std::ostream *os) {
  *os << c.name;
}

class CliError : public testing::TestWithParam<CliCase> {};

TEST_P(CliError, ReportsOnStandardErrorAndWritesNothing) {
  const CliCase &c = GetParam();
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const QDir dir(folder.path());
  ASSERT_TRUE(dir.mkdir(QStringLiteral("Folder.Kestrum")));
  // A string length that runs past the end of the file.
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("Damaged.Kestrum")), QByteArray("\x05\x00"
                                                                                   "ab",
                                                                                   4)));
  ASSERT_TRUE(QFile::copy(folder.file(QStringLiteral("Template/Default.Kestrum")),
                          folder.file(QStringLiteral("Good.Kestrum"))));
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("unknown-field.txt")),
                        "ProfileName=changed\nBogus=1\n"));
  if (c.configIsFolder) {
    ASSERT_TRUE(dir.mkdir(QStringLiteral("analog.cfg")));
  }
  const QMap<QString, QByteArray> before = snapshot(folder.path());

  QStringList args = c.args;
  args.replaceInStrings(QStringLiteral("{dir}"), folder.path());
  const auto run = folder.cli(args);

  EXPECT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(run.err);
  EXPECT_TRUE(run.err.contains(QLatin1String(c.errorHolds), Qt::CaseInsensitive))
      << qPrintable(run.err);
  EXPECT_TRUE(run.out.isEmpty()) << qPrintable(run.out);
  const QMap<QString, QByteArray> after = snapshot(folder.path());
  EXPECT_EQ(QStringList(after.keys()).join(QLatin1Char(' ')).toStdString(),
            QStringList(before.keys()).join(QLatin1Char(' ')).toStdString());
  EXPECT_TRUE(after == before) << "a file in the program folder changed";
}

INSTANTIATE_TEST_SUITE_P(Cases, CliError, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<CliCase> &info) {
                           return std::string(info.param.name);
                         });

} // namespace
