// The DNS cache clean-up on small caches: which records stay, the backup,
// the progress, and failures that must leave the cache as it was.

#include "runs/DnsCleanup.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kestrum;
using kestrum::test::readAll;
using kestrum::test::runAsUnprivilegedUser;
using kestrum::test::writeAll;

namespace {

class DnsCleanup : public testing::Test {
protected:
  QString programDir() const { return dir_.path() + QLatin1Char('/'); }
  QString file(const char *name) const { return dir_.filePath(QLatin1String(name)); }
  QTemporaryDir dir_;
};

TEST_F(DnsCleanup, KeepsResolvedRecordsInOrderAndBacksUpTheOriginal) {
  const struct {
    const char *name;
    QByteArray cache;
    QByteArray cleaned;
  } cases[] = {
      {"mixed, LF as the analyser writes it",
       "1 192.0.2.1 *\n2 192.0.2.2 a.example\n3 192.0.2.3 *\n4 192.0.2.4 b.example\n",
       "2 192.0.2.2 a.example\r\n4 192.0.2.4 b.example\r\n"},
      {"CR LF and a last line without its end", "1 x *\r\n2 y ok\r\n3 z ok",
       "2 y ok\r\n3 z ok\r\n"},
      {"all unresolved", "1 x *\n2 y *\n", ""},
      {"empty", "", ""},
      {"a star inside a name is no mark", "1 x a*b\n", "1 x a*b\r\n"},
      {"leading blanks skipped, commas end records, quotes removed",
       "  lead\n\"q, *\",after *\n\"quoted\" tail\n", "lead\r\nquoted\r\n"},
      {"an empty line stays a line", "a\n\nb *\n", "a\r\n\r\n"},
  };
  for (const auto &c : cases) {
    writeAll(file("t.KestrumDNS"), c.cache);
    const Result r = DeleteUnresolvedDns(programDir(), QStringLiteral("t.KestrumDNS"));
    ASSERT_TRUE(r.ok()) << c.name << ": " << qPrintable(r.error);
    EXPECT_EQ(readAll(file("t.KestrumDNS")), c.cleaned) << c.name;
    EXPECT_EQ(readAll(file("Old t.KestrumDNS")), c.cache) << c.name;
  }
}

TEST_F(DnsCleanup, ASecondCleanUpChangesNothingAndBacksUpTheCleanFile) {
  writeAll(file("t.KestrumDNS"), "1 x *\n2 y ok\n");
  ASSERT_TRUE(DeleteUnresolvedDns(programDir(), QStringLiteral("t.KestrumDNS")).ok());
  const QByteArray once = readAll(file("t.KestrumDNS"));
  ASSERT_TRUE(DeleteUnresolvedDns(programDir(), QStringLiteral("t.KestrumDNS")).ok());
  EXPECT_EQ(readAll(file("t.KestrumDNS")), once);
  EXPECT_EQ(readAll(file("Old t.KestrumDNS")), once);
}

TEST_F(DnsCleanup, ProgressRisesByWholePercentsAndStopsShortOfTheLineEnds) {
  QByteArray cache;
  for (int i = 0; i < 1000; ++i)
    cache += QByteArray::number(i) + (i % 2 ? " *\n" : " name\n");
  writeAll(file("t.KestrumDNS"), cache);
  QList<int> shown;
  ASSERT_TRUE(DeleteUnresolvedDns(programDir(), QStringLiteral("t.KestrumDNS"), [&](int percent) {
                shown.append(percent);
              }).ok());
  ASSERT_FALSE(shown.isEmpty());
  for (int i = 1; i < shown.size(); ++i)
    EXPECT_GT(shown[i], shown[i - 1]);
  EXPECT_GT(shown.last(), 80);
  EXPECT_LT(shown.last(), 100) << "line ends are not counted";
}

TEST_F(DnsCleanup, FailuresSayWhyAndLoseNothing) {
  writeAll(file("t.KestrumDNS"), "1 x *\n2 y ok\n");
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.KestrumDNS")));
  const struct {
    QString name;
    const char *errorHolds;
  } cases[] = {{QString(), "No DNS cache file"},
               {QStringLiteral("missing.KestrumDNS"), "missing.KestrumDNS"},
               {QStringLiteral("folder.KestrumDNS"), "a folder"},
               {QStringLiteral("../t.KestrumDNS"), "not a file of the program folder"}};
  for (const auto &c : cases) {
    const Result r = DeleteUnresolvedDns(programDir(), c.name);
    EXPECT_TRUE(r.error.contains(QLatin1String(c.errorHolds))) << qPrintable(r.error);
  }
  EXPECT_EQ(readAll(file("t.KestrumDNS")), "1 x *\n2 y ok\n");
  EXPECT_FALSE(QFile::exists(file("Old t.KestrumDNS")));
}

// In a folder where no file can be made the backup cannot be written: the
// clean-up stops before it touches the cache.
TEST_F(DnsCleanup, AReadOnlyFolderStopsBeforeTheCacheIsTouched) {
  const QString folder = file("ro");
  ASSERT_TRUE(QDir().mkdir(folder));
  const QString cache = folder + QStringLiteral("/t.KestrumDNS");
  writeAll(cache, "1 x *\n2 y ok\n");
  if (::geteuid() == 0) {
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
    ASSERT_EQ(::chown(QFile::encodeName(cache).constData(), 65534, 65534), 0);
  }
  ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);

  EXPECT_TRUE(runAsUnprivilegedUser([&] {
    const Result r = DeleteUnresolvedDns(folder + QLatin1Char('/'), QStringLiteral("t.KestrumDNS"));
    return !r.ok() && r.error.contains(QLatin1String("Permission denied"));
  })) << "refused with the system's reason";
  ::chmod(QFile::encodeName(folder).constData(), 0755);
  EXPECT_EQ(readAll(cache), "1 x *\n2 y ok\n");
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"t.KestrumDNS"});
}

} // namespace
