// Values typed the way users type them reach the real analyser as meant: a
// site name and a log folder with blanks, a log-format override with blanks
// and quotes, a period with four-digit years. And `cfg --check` tells a user
// what the analyser makes of a profile before a long run.

#include "ProgramFolderCopy.h"
#include "runs/AnalyserMessages.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using kestrum::ConfigurationProblems;
using kestrum::ParseAnalyserMessages;

// A log in a format the analyser cannot guess (the time comes first):
// `perDay` requests on each day given.
QByteArray customFormatLog(const QList<QPair<QDate, int>> &perDay) {
  QByteArray log;
  for (const auto &[day, count] : perDay)
    for (int i = 0; i < count; ++i)
      log += QStringLiteral("[%1:10:%2:00 +0000] 192.0.2.%3 \"GET /page%3.html HTTP/1.1\" 200 %4\n")
                 .arg(QLocale::c().toString(day, QStringLiteral("dd/MMM/yyyy")))
                 .arg(i, 2, 10, QLatin1Char('0'))
                 .arg(i + 1)
                 .arg(100 + i)
                 .toLatin1();
  return log;
}

QString summaryLine(const QString &report, const QString &label) {
  static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
  const QString text = QString(report).remove(tag);
  const QRegularExpression line(QRegularExpression::escape(label) + QStringLiteral(": ([0-9,]+)"));
  return line.match(text).captured(1);
}

TEST(AnalyserReadsProfile, BlanksQuotesOverrideAndFourDigitYearsAsTyped) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("web logs")));
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("web logs/custom.log")),
                        customFormatLog({{QDate(2026, 8, 30), 3},
                                         {QDate(2026, 9, 5), 7},
                                         {QDate(2026, 9, 29), 4},
                                         {QDate(2026, 10, 2), 5}})));
  const QString profile = folder.file(QStringLiteral("Site.Kestrum"));
  ASSERT_EQ(folder.cli({QStringLiteral("new"), profile}).exitCode, 0);
  const auto set = folder.cli(
      {QStringLiteral("set"), profile, QStringLiteral("HostName=Example Software"),
       QStringLiteral("LogFile=./web logs/custom.log"), QStringLiteral("LogTypeOverride=True"),
       QStringLiteral("ApacheLogFormat=%t %h \"%r\" %>s %b")});
  ASSERT_EQ(set.exitCode, 0) << qPrintable(set.err);

  const auto cfg =
      folder.cli({QStringLiteral("cfg"), profile, QStringLiteral("--period"), QStringLiteral("0"),
                  QStringLiteral("2026"), QStringLiteral("09"), QStringLiteral("01"),
                  QStringLiteral("2026"), QStringLiteral("09"), QStringLiteral("30")});
  ASSERT_EQ(cfg.exitCode, 0) << qPrintable(cfg.err);
  const auto run = folder.analyser();
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);

  const auto problems = ConfigurationProblems(ParseAnalyserMessages(run.err));
  for (const auto &problem : problems)
    ADD_FAILURE() << qPrintable(problem.text);
  const QString report = readText(folder.file(QStringLiteral("Report.html")));
  EXPECT_TRUE(report.contains(QLatin1String("<title>Example Software "))) << "the whole name";
  // Read with the override format, only September: 7 + 4 of 19 requests.
  EXPECT_EQ(summaryLine(report, QStringLiteral("Successful requests")), QStringLiteral("11"));
  EXPECT_EQ(summaryLine(report, QStringLiteral("Unwanted logfile entries")), QStringLiteral("8"));
}

TEST(AnalyserReadsProfile, ConfigCheckMarksHarmlessNoticesAndFailsOnRealWarnings) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const QString profile = folder.file(QStringLiteral("Site.Kestrum"));
  ASSERT_EQ(folder.cli({QStringLiteral("new"), profile}).exitCode, 0);
  // analog 6 knows reports that analog 4's order letters do not name.
  ASSERT_EQ(folder.cli({QStringLiteral("set"), profile, QStringLiteral("ReportOrder=x1QmWDdHwh")})
                .exitCode,
            0);

  const auto clean = folder.cli({QStringLiteral("cfg"), profile, QStringLiteral("--check")});
  EXPECT_EQ(clean.exitCode, 0) << qPrintable(clean.out + clean.err);
  const QStringList notices = clean.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  EXPECT_FALSE(notices.isEmpty());
  for (const QString &notice : notices)
    EXPECT_TRUE(notice.contains(QLatin1String("(harmless"))) << qPrintable(notice);

  ASSERT_EQ(folder.cli({QStringLiteral("set"), profile, QStringLiteral("Language=GREEK")}).exitCode,
            0);
  const auto greek = folder.cli({QStringLiteral("cfg"), profile, QStringLiteral("--check")});
  EXPECT_EQ(greek.exitCode, 1);
  EXPECT_TRUE(greek.out.contains(QLatin1String("Warning C: Bad argument in configuration command: "
                                               "ignoring it: LANGUAGE GREEK")))
      << qPrintable(greek.out);
}

} // namespace
