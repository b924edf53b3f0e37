// kestrum-cli import turns a hand-written analog.cfg into a profile that
// makes the real analyser produce the same report: the original file and the
// configuration written from the imported profile give the same request
// counts and the same reports.

#include "ProgramFolderCopy.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString withoutTags(const QString &html) {
  static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
  return QString(html).remove(tag);
}

// The headings of the reports, in report order.
QStringList reportList(const QString &report) {
  static const QRegularExpression heading(QStringLiteral("<h2>(.*?)</h2>"));
  QStringList names;
  for (const auto &match : heading.globalMatch(report))
    names.append(withoutTags(match.captured(1)));
  return names;
}

QStringList requestCounts(const QString &report) {
  static const QRegularExpression count(
      QStringLiteral("((?:Successful|Failed|Redirected) requests|Unwanted logfile entries): "
                     "[0-9,]+"));
  QStringList counts;
  for (const auto &match : count.globalMatch(withoutTags(report)))
    counts.append(match.captured(0));
  return counts;
}

bool copyData(const ProgramFolderCopy &folder, const QString &name, const QString &as = {}) {
  const QString target = folder.file(as.isEmpty() ? name : as);
  QFile::remove(target);
  return QFile::copy(QStringLiteral(KESTRUM_TEST_DATA "/data/import/") + name, target);
}

TEST(ImportAnalyser, ImportedProfileGivesTheSameReportAsTheOriginal) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_TRUE(copyData(folder, QStringLiteral("site.cfg")));
  ASSERT_TRUE(copyData(folder, QStringLiteral("reports.cfg")));

  const QString profile = folder.file(QStringLiteral("Site.Kestrum"));
  const auto imported = folder.cli({QStringLiteral("import"), folder.file("site.cfg"), profile});
  ASSERT_EQ(imported.exitCode, 0) << qPrintable(imported.err);
  EXPECT_TRUE(imported.out.contains(QLatin1String("Commands kept in OtherCommands: 0")))
      << qPrintable(imported.out);
  EXPECT_TRUE(imported.out.contains(QLatin1String("Included files read: 1")));
  EXPECT_FALSE(imported.out.contains(QLatin1String("Problem")));

  // The original, as the analyser reads it.
  ASSERT_TRUE(copyData(folder, QStringLiteral("site.cfg"), QStringLiteral("analog.cfg")));
  const auto original = folder.analyser();
  ASSERT_EQ(original.exitCode, 0) << qPrintable(original.err);
  const QString originalReport = readText(folder.file(QStringLiteral("Report.html")));
  QFile::remove(folder.file(QStringLiteral("Report.html")));

  // The imported profile's own configuration, with its reporting period.
  const auto cfg =
      folder.cli({QStringLiteral("cfg"), profile, QStringLiteral("--period"), QStringLiteral("0")});
  ASSERT_EQ(cfg.exitCode, 0) << qPrintable(cfg.err);
  const auto again = folder.analyser();
  ASSERT_EQ(again.exitCode, 0) << qPrintable(again.err);
  const QString importedReport = readText(folder.file(QStringLiteral("Report.html")));

  const QStringList reports = reportList(originalReport);
  EXPECT_EQ(reports.size(), 10) << qPrintable(reports.join(QLatin1String(", ")));
  EXPECT_EQ(reportList(importedReport), reports);
  const QStringList counts = requestCounts(originalReport);
  EXPECT_EQ(counts.size(), 4) << qPrintable(counts.join(QLatin1String(", ")));
  EXPECT_TRUE(counts.contains(QLatin1String("Unwanted logfile entries: 1,112")))
      << "the period and the exclusions apply: " << qPrintable(counts.join(QLatin1String(", ")));
  EXPECT_EQ(requestCounts(importedReport), counts);
  EXPECT_TRUE(importedReport.contains(QLatin1String("<title>Example Site ")));
}

TEST(ImportAnalyser, NeverReplacesAProfileUnlessForcedAndWritesNothingFromABinaryFile) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const QString config = folder.file(QStringLiteral("small.cfg"));
  ASSERT_TRUE(writeText(config, "HOSTNAME small\n"));
  const QString profile = folder.file(QStringLiteral("Mine.Kestrum"));
  ASSERT_TRUE(writeText(profile, "precious"));

  const auto refused = folder.cli({QStringLiteral("import"), config, profile});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.err.contains(QLatin1String("--force"))) << qPrintable(refused.err);
  EXPECT_EQ(readText(profile), QStringLiteral("precious"));

  const auto forced =
      folder.cli({QStringLiteral("import"), config, profile, QStringLiteral("--force")});
  ASSERT_EQ(forced.exitCode, 0) << qPrintable(forced.err);
  const auto dump = folder.cli({QStringLiteral("dump"), profile});
  EXPECT_TRUE(dump.out.contains(QLatin1String("\nHostName=small\n")));

  const QString binary = folder.file(QStringLiteral("binary.cfg"));
  ASSERT_TRUE(writeText(binary, QByteArray("HOSTNAME x\n\0\0\x01", 14)));
  const QString fresh = folder.file(QStringLiteral("Fresh.Kestrum"));
  const auto bad = folder.cli({QStringLiteral("import"), binary, fresh});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(bad.err.contains(QLatin1String("binary file"))) << qPrintable(bad.err);
  EXPECT_FALSE(QFile::exists(fresh));
}

} // namespace
