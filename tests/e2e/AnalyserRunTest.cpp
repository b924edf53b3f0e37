// analog.cfg files written by kestrum-cli from the bundled templates, and from
// a profile with nearly every setting on, are read by the real analyser,
// started through the program folder's launcher.

#include "ProgramFolderCopy.h"
#include "SampleLogCounts.h"
#include "runs/AnalyserMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

struct AnalyserCase {
  const char *name;
  const char *templateFile; // in Template/
  const char *settingsFile; // Name=value lines applied on top (test data), or nullptr
  QStringList cfgOptions;   // after "cfg PROFILE"
  const char *report;       // the profile's OutFile
  const char *errFile;      // the profile's ErrFile, or nullptr
  CountRule counts;
  QStringList dataFiles;   // test data copied into the program folder
  QStringList reportHolds; // texts the report must contain
};

const AnalyserCase kCases[] = {
    {"DefaultTemplate", "Default.Kestrum", nullptr, {}, "Report.html", nullptr, {}, {}, {}},
    {"PlainTextTemplate", "PlainText.Kestrum", nullptr, {}, "Report.txt", nullptr, {}, {}, {}},
    {"DefaultTemplateForSeptember",
     "Default.Kestrum",
     nullptr,
     {"--period", "0", "25", "09", "01", "25", "09", "30"},
     "Report.html",
     nullptr,
     {{}, QDate(2025, 9, 1), QDate(2025, 9, 30)},
     {},
     {}},
    {"EverySetting",
     "Default.Kestrum",
     "every-setting.txt",
     {},
     "Report.html",
     "analog-errors.txt",
     {"/wp-login.php", {}, {}},
     {"header.html", "footer.html"},
     {"Example Software: access statistics", "Generated for the Example Software web team."}},
};

// The sample log has no virtual host or processing time field; every other
// report must have something to show.
const QSet<QString> kReportsTheSampleCannotFill = {QStringLiteral("Virtual Host Report"),
                                                   QStringLiteral("Processing Time Report")};

QString testData(const QString &name) {
  return QStringLiteral(KESTRUM_TEST_DATA "/data/") + name;
}

QString plainText(const QString &report) {
  static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
  QString text = report;
  return text.remove(tag);
}

// The figure after "Label: " in the General Summary, thousands separators
// removed; 0 when the analyser left the line out.
long summaryFigure(const QString &reportText, const QString &label) {
  const QRegularExpression re(QRegularExpression::escape(label) +
                              QStringLiteral(": ([0-9][0-9.,]*)"));
  const QRegularExpressionMatch m = re.match(reportText);
  if (!m.hasMatch())
    return 0;
  QString digits = m.captured(1);
  digits.remove(QLatin1Char(',')).remove(QLatin1Char('.'));
  return digits.toLong();
}

// Lines the analyser refused (warning class C), for the failure message; the
// harmless REPORTORDER notices of analog 6 are left out. (Class D, "dubious"
// combinations such as a SORTBY unlike its SUBSORTBY, follows from the
// choices of the every-setting profile.)
QStringList configComplaints(const QString &diagnostics) {
  QStringList complaints;
  for (const auto &problem :
       kestrum::ConfigurationProblems(kestrum::ParseAnalyserMessages(diagnostics)))
    if (problem.warningClass == QLatin1Char('C'))
      complaints.append(problem.text);
  return complaints;
}

QSet<QString> reportsTurnedOffAsEmpty(const QString &diagnostics) {
  static const QRegularExpression re(QStringLiteral("Turning off empty ([^\\n]+)"));
  QSet<QString> reports;
  for (auto it = re.globalMatch(diagnostics); it.hasNext();)
    reports.insert(it.next().captured(1).trimmed());
  return reports;
}

void PrintTo(const AnalyserCase &c, std::ostream *os) {
  *os << c.name;
}

class AnalyserRun : public testing::TestWithParam<AnalyserCase> {};

TEST_P(AnalyserRun, ReadsTheConfigurationAndCountsEveryRequest) {
  const AnalyserCase &c = GetParam();
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok()) << "cannot copy " << qPrintable(ProgramFolderCopy::builtProgramDir());

  QString profile = folder.file(QStringLiteral("Template/") + QLatin1String(c.templateFile));
  if (c.settingsFile) {
    profile = folder.file(QStringLiteral("Test.Kestrum"));
    ASSERT_TRUE(QFile::copy(
        folder.file(QStringLiteral("Template/") + QLatin1String(c.templateFile)), profile));
    const auto set = folder.cli({QStringLiteral("set"), profile,
                                 QLatin1Char('@') + testData(QLatin1String(c.settingsFile))});
    ASSERT_EQ(set.exitCode, 0) << qPrintable(set.err);
  }
  for (const QString &name : c.dataFiles)
    ASSERT_TRUE(QFile::copy(testData(name), folder.file(name))) << qPrintable(name);

  const auto cfg = folder.cli(QStringList{QStringLiteral("cfg"), profile} + c.cfgOptions);
  ASSERT_EQ(cfg.exitCode, 0) << qPrintable(cfg.err);
  EXPECT_EQ(cfg.out.trimmed(), folder.file(QStringLiteral("analog.cfg")));

  const auto run = folder.analyser();
  QString diagnostics = run.err + run.out;
  if (c.errFile)
    diagnostics += readText(folder.file(QLatin1String(c.errFile)));
  ASSERT_FALSE(run.crashed) << qPrintable(diagnostics);
  EXPECT_EQ(run.exitCode, 0) << qPrintable(diagnostics);

  EXPECT_EQ(configComplaints(diagnostics).join(QLatin1Char('\n')).toStdString(), "")
      << qPrintable(readText(folder.file(QStringLiteral("analog.cfg"))));
  QSet<QString> emptyReports = reportsTurnedOffAsEmpty(diagnostics);
  EXPECT_TRUE(emptyReports.subtract(kReportsTheSampleCannotFill).isEmpty())
      << qPrintable(QStringList(emptyReports.values()).join(QStringLiteral(", ")));

  const QString report = readText(folder.file(QLatin1String(c.report)));
  ASSERT_FALSE(report.isEmpty()) << c.report << " missing; analyser said:\n"
                                 << qPrintable(diagnostics);
  const QString text = plainText(report);
  const RequestCounts expected =
      countRequests(folder.file(QStringLiteral("SampleAccess.log")), c.counts);
  ASSERT_EQ(expected.unreadable, 0);
  ASSERT_GT(expected.successful, 1000);
  EXPECT_EQ(summaryFigure(text, QStringLiteral("Successful requests")), expected.successful);
  EXPECT_EQ(summaryFigure(text, QStringLiteral("Redirected requests")), expected.redirected);
  EXPECT_EQ(summaryFigure(text, QStringLiteral("Failed requests")), expected.failed);
  EXPECT_EQ(summaryFigure(text, QStringLiteral("Unwanted logfile entries")), expected.unwanted);
  for (const QString &piece : c.reportHolds)
    EXPECT_TRUE(report.contains(piece)) << qPrintable(piece);
}

INSTANTIATE_TEST_SUITE_P(Profiles, AnalyserRun, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<AnalyserCase> &info) {
                           return std::string(info.param.name);
                         });

// The default report is meant to be opened from the disk: its bar images
// must point at files that exist.
TEST(DefaultReport, BarImagesResolveOnThisMachine) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_EQ(
      folder.cli({QStringLiteral("cfg"), folder.file(QStringLiteral("Template/Default.Kestrum"))})
          .exitCode,
      0);
  ASSERT_EQ(folder.analyser().exitCode, 0);
  const QString report = readText(folder.file(QStringLiteral("Report.html")));

  static const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""),
                                        QRegularExpression::CaseInsensitiveOption);
  QStringList bars;
  for (auto it = image.globalMatch(report); it.hasNext();) {
    const QString src = it.next().captured(1);
    if (QFileInfo(src).fileName().startsWith(QLatin1String("bar")))
      bars.append(src);
  }
  ASSERT_FALSE(bars.isEmpty());
  for (const QString &src : bars) {
    ASSERT_TRUE(src.startsWith(QLatin1String("file:///"))) << qPrintable(src);
    EXPECT_TRUE(QFile::exists(src.mid(int(strlen("file://"))))) << qPrintable(src);
  }
}

} // namespace
