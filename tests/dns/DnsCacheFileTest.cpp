#include "dns/DnsCacheFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kestrum::dns;
using kestrum::test::readAll;
using kestrum::test::writeAll;

namespace {

constexpr long long kNow = 29000000; // minutes since 1970, in 2025

TEST(DnsCacheFile, ParsesLinesAsTheAnalyserDoes) {
  struct Case {
    std::string line;
    bool valid;
  };
  const Case cases[] = {
      {"28999000 192.0.2.1 host.example.com", true},
      {"28999000  192.0.2.1  *", true},
      {"28999000 192.0.2.1", false},
      {"28999000 192.0.2.1 a b", false},
      {"0 192.0.2.1 *", false},
      {"x28999000 192.0.2.1 *", false},
      {"", false},
      {"28999000 192.0.2.1 " + std::string(250, 'a'), false},
  };
  for (const auto &c : cases) {
    CacheLine entry;
    EXPECT_EQ(ParseCacheLine(c.line, entry), c.valid) << c.line;
  }
  CacheLine entry;
  ASSERT_TRUE(ParseCacheLine("28999000  192.0.2.1  *", entry));
  EXPECT_EQ(entry.minutes, 28999000);
  EXPECT_EQ(entry.address, "192.0.2.1");
  EXPECT_EQ(entry.name, "*");
}

TEST(DnsCacheFile, FreshnessFollowsGoodAndBadHours) {
  struct Case {
    long long age; // minutes before kNow (negative: after)
    const char *name;
    bool fresh;
  };
  // good hours 10 (600 minutes), bad hours 2 (120 minutes)
  const Case cases[] = {
      {0, "h.example", true},    {600, "h.example", true},
      {601, "h.example", false}, {0, "*", true},
      {120, "*", true},          {121, "*", false},
      {-7 * 24 * 60, "*", true}, {-7 * 24 * 60 - 1, "h.example", false},
  };
  for (const auto &c : cases) {
    const CacheLine entry{kNow - c.age, "192.0.2.1", c.name};
    EXPECT_EQ(IsFresh(entry, kNow, 10, 2), c.fresh) << c.age << ' ' << c.name;
  }
}

TEST(DnsCacheFile, MergeKeepsOtherAndDamagedLinesAndReplacesLookedUpOnes) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("cache"));
  writeAll(path, "28999990 192.0.2.1 fresh.example\n"
                 "1000 192.0.2.2 stale.example\r\n"
                 "damaged line\n"
                 "1000 192.0.2.3 *\n"
                 "1000 192.0.2.9 *"); // no line end at the end
  DnsCacheFile cache;
  QString error;
  ASSERT_TRUE(cache.read(path, kNow, 100, 100, error));
  EXPECT_TRUE(cache.isFresh("192.0.2.1"));
  EXPECT_FALSE(cache.isFresh("192.0.2.2"));
  EXPECT_FALSE(cache.isFresh("damaged"));

  const std::vector<std::string> addresses{"192.0.2.2", "192.0.2.3", "192.0.2.4", "192.0.2.5"};
  const std::vector<std::string> names{"new.example", "", "with blank", std::string(240, 'x')};
  ASSERT_TRUE(cache.writeMerged(path, addresses, names, kNow, error));
  EXPECT_EQ(readAll(path), "28999990 192.0.2.1 fresh.example\n"
                           "damaged line\n"
                           "1000 192.0.2.9 *\n"
                           "29000000 192.0.2.2 new.example\n"
                           "29000000 192.0.2.3 *\n"
                           "29000000 192.0.2.4 *\n"
                           "29000000 192.0.2.5 *\n");
}

TEST(DnsCacheFile, AMissingCacheIsEmptyAndAFailedWriteLeavesTheOldFile) {
  QTemporaryDir dir;
  DnsCacheFile cache;
  QString error;
  ASSERT_TRUE(cache.read(dir.filePath(QStringLiteral("none")), kNow, 1, 1, error));
  EXPECT_EQ(cache.lineCount(), 0u);
  EXPECT_FALSE(cache.writeMerged(dir.filePath(QStringLiteral("no/such/folder/cache")),
                                 {"192.0.2.1"}, {"a"}, kNow, error));
  EXPECT_FALSE(error.isEmpty());

  // A folder that cannot take the temporary file: the old cache stays.
  const QString path = dir.filePath(QStringLiteral("locked/cache"));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
  writeAll(path, "1000 192.0.2.1 *\n");
  ASSERT_TRUE(cache.read(path, kNow, 1, 1, error));
  QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner);
  const bool written = kestrum::test::runAsUnprivilegedUser([&] {
    QString childError;
    return cache.writeMerged(path, {"192.0.2.1"}, {"a.example"}, kNow, childError);
  });
  QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_FALSE(written);
  EXPECT_EQ(readAll(path), "1000 192.0.2.1 *\n");
}

} // namespace
