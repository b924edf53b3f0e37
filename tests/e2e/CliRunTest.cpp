// kestrum-cli run: the whole pipeline without windows, for cron.

#include "ProgramFolderCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

// Readable QString values in failure messages.
inline void PrintTo(const QString &text, std::ostream *os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {

QString defaultTemplate(const ProgramFolderCopy &folder) {
  return folder.file(QStringLiteral("Template/Default.Kestrum"));
}

TEST(CliRun, TheDefaultTemplateRunsPrintsItsStatusAndTheReportPath) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const auto run = folder.cli({QStringLiteral("run"), defaultTemplate(folder)});
  ASSERT_FALSE(run.crashed);
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.out) << qPrintable(run.err);

  const QStringList lines = run.out.trimmed().split(QLatin1Char('\n'));
  const QString report = folder.file(QStringLiteral("Report.html"));
  EXPECT_EQ(lines.last(), report);
  EXPECT_TRUE(QFileInfo(report).size() > 1000);
  EXPECT_EQ(lines.first(2), (QStringList{"Main: preparing to run Analog...", "Status: running"}));
  EXPECT_TRUE(lines.contains(QStringLiteral("Main: running Analog...")));
  EXPECT_TRUE(lines.contains(QStringLiteral("Status: finished")));
  const qsizetype time = lines.indexOf(QRegularExpression(QStringLiteral("RunTime: Time:  .*")));
  EXPECT_GE(time, 0);
  EXPECT_EQ(lines.mid(lines.size() - 3, 2),
            (QStringList{"Main: Analog run finished", "Status: editing"}));
  // The finish notice is a message: it goes to standard error.
  EXPECT_TRUE(
      run.err.startsWith(QLatin1String("Analog finished: Analog finished running\r\nTime: ")))
      << qPrintable(run.err);
}

// The pie charts go into a folder named after the report, beside it, and
// the report's images point there; the program folder gets no *.png.
TEST(CliRun, ChartsGoIntoAFolderBesideTheReport) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const auto run = folder.cli({QStringLiteral("run"), defaultTemplate(folder)});
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);

  EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.png")}), QStringList());
  const QString report = readText(folder.file(QStringLiteral("Report.html")));
  static const QRegularExpression chart(QStringLiteral("<img src=\"(Report_files/[^\"]+\\.png)\""));
  QStringList linked;
  for (const auto &match : chart.globalMatch(report))
    linked << match.captured(1);
  ASSERT_GE(linked.size(), 5) << qPrintable(report.left(2000));
  for (const QString &image : linked)
    EXPECT_TRUE(QFileInfo(folder.file(image)).size() > 0) << qPrintable(image);
  linked.removeDuplicates();
  EXPECT_EQ(QDir(folder.file(QStringLiteral("Report_files"))).entryList(QDir::Files).size(),
            linked.size());
}

// cron mails standard error: a configuration warning of the hidden analyser
// lands there, and the run still counts as done.
TEST(CliRun, PrintsTheAnalysersConfigurationWarningsOnStandardError) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const QString profile = folder.file(QStringLiteral("Greek.Kestrum"));
  ASSERT_EQ(folder.cli({QStringLiteral("new"), profile}).exitCode, 0);
  ASSERT_EQ(folder.cli({QStringLiteral("set"), profile, QStringLiteral("Language=GREEK")}).exitCode,
            0);
  const auto run = folder.cli({QStringLiteral("run"), profile});
  EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
  EXPECT_TRUE(run.err.contains(QLatin1String(
      "analog: Warning C: Bad argument in configuration command: ignoring it: LANGUAGE GREEK")))
      << qPrintable(run.err);
  EXPECT_TRUE(run.out.contains(QLatin1String("Status: finished, 1 configuration warning")));
}

TEST(CliRun, FailsWhenTheAnalyserCannotRunOrLeavesNoReportOrTheConfigurationIsOld) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  // An old report from an earlier run does not count as this run's.
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("Report.html")), "old"));
  QFile old(folder.file(QStringLiteral("Report.html")));
  ASSERT_TRUE(old.open(QIODevice::ReadWrite));
  ASSERT_TRUE(
      old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
  old.close();

  ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("analog"))));
  auto run = folder.cli({QStringLiteral("run"), defaultTemplate(folder)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QLatin1String("Kestrum error: Analog logfile analyzer not found")))
      << qPrintable(run.err);

  // An "analyser" that ends without writing the report.
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("analog")), "#!/bin/sh\nexit 0\n"));
  QFile::setPermissions(folder.file(QStringLiteral("analog")),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  run = folder.cli({QStringLiteral("run"), defaultTemplate(folder)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QLatin1String("wrote no report"))) << qPrintable(run.err);

  // A configuration that cannot be written: the analyser runs on the old
  // one, and the run does not count as a success.
  ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("analog"))));
  ASSERT_TRUE(QFile::copy(ProgramFolderCopy::builtProgramDir() + QStringLiteral("analog"),
                          folder.file(QStringLiteral("analog"))));
  ASSERT_EQ(folder.cli({QStringLiteral("cfg"), defaultTemplate(folder)}).exitCode, 0);
  ASSERT_TRUE(QFile::setPermissions(folder.file(QStringLiteral("analog.cfg")), QFile::ReadOwner));
  run = folder.cli({QStringLiteral("run"), defaultTemplate(folder)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QLatin1String("Internal Error: Error creating .cfg file")))
      << qPrintable(run.err);
  EXPECT_TRUE(run.out.contains(QLatin1String("Status: finished")));

  run = folder.cli({QStringLiteral("run"), folder.file(QStringLiteral("Missing.Kestrum"))});
  EXPECT_EQ(run.exitCode, 1);
  run = folder.cli({QStringLiteral("run"), defaultTemplate(folder), QStringLiteral("--period")});
  EXPECT_EQ(run.exitCode, 2);
}

} // namespace
