// kestrum-cli dns-clean on a DNS cache that the real analyser wrote from the
// sample log: its look-ups fail here (no network), so every address it saw
// is unresolved.

#include "ProgramFolderCopy.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(DnsClean, RemovesTheAnalysersUnresolvedEntriesAndKeepsABackup) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_EQ(
      folder.cli({QStringLiteral("cfg"), folder.file(QStringLiteral("Template/Default.Kestrum"))})
          .exitCode,
      0);
  const auto wrote = folder.analyser(
      {QStringLiteral("+CDNS WRITE"), QStringLiteral("+CDNSFILE ./site.KestrumDNS")});
  ASSERT_EQ(wrote.exitCode, 0) << qPrintable(wrote.err);
  const QByteArray written = readText(folder.file(QStringLiteral("site.KestrumDNS"))).toLatin1();
  QList<QByteArray> lines = written.split('\n');
  ASSERT_EQ(lines.takeLast(), QByteArray());
  ASSERT_GE(lines.size(), 4);
  for (const QByteArray &line : lines)
    ASSERT_TRUE(line.endsWith(" *")) << line.constData();

  // Resolved entries among them, as a run with network would have added.
  const QByteArray resolved1 = "29948614 198.51.100.1 one.example.com";
  const QByteArray resolved2 = "29948614 198.51.100.2 two.example.com";
  lines.insert(1, resolved1);
  lines.insert(3, resolved2);
  const QByteArray cache = lines.join('\n') + '\n';
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("site.KestrumDNS")), cache));

  const auto clean = folder.cli({QStringLiteral("dns-clean"), QStringLiteral("site.KestrumDNS")});
  ASSERT_EQ(clean.exitCode, 0) << qPrintable(clean.err);
  EXPECT_EQ(clean.out.trimmed(), QStringLiteral("Unresolved DNS Data deleted"));
  const QByteArray cleaned = resolved1 + "\r\n" + resolved2 + "\r\n";
  EXPECT_EQ(readText(folder.file(QStringLiteral("site.KestrumDNS"))).toLatin1(), cleaned);
  EXPECT_EQ(readText(folder.file(QStringLiteral("Old site.KestrumDNS"))).toLatin1(), cache);

  // The analyser reads the cleaned cache.
  const auto read = folder.analyser(
      {QStringLiteral("+CDNS READ"), QStringLiteral("+CDNSFILE ./site.KestrumDNS")});
  EXPECT_EQ(read.exitCode, 0) << qPrintable(read.err);
  EXPECT_FALSE(read.err.contains(QLatin1String("DNS"))) << qPrintable(read.err);

  // Again: nothing left to remove.
  ASSERT_EQ(
      folder.cli({QStringLiteral("dns-clean"), folder.file(QStringLiteral("site.KestrumDNS"))})
          .exitCode,
      0);
  EXPECT_EQ(readText(folder.file(QStringLiteral("site.KestrumDNS"))).toLatin1(), cleaned);
}

TEST(DnsClean, RefusesFilesOutsideTheProgramFolder) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const auto run = folder.cli({QStringLiteral("dns-clean"), QStringLiteral("/etc/hosts")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QLatin1String("not a file of the program folder")))
      << qPrintable(run.err);
}

} // namespace
