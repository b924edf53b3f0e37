// Where a run tells the analyser to write its pie charts.

#include "runs/ChartFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kestrum {
namespace {

struct ChartCase {
  const char *name;
  const char *config;   // analog.cfg as written
  const char *localDir; // expected folder; nullptr = charts left where the analyser puts them
  const char *chartDir; // the name in front of the images in the report
};

const ChartCase kCases[] = {
    {"TemplateReport", "OUTFILE ./Report.html\r\nOUTPUT HTML\r\n", "/p/Report_files/",
     "Report_files/"},
    {"AbsoluteReport", "OUTFILE /var/www/stats/site.html\n", "/var/www/stats/site_files/",
     "site_files/"},
    {"BareNameLikeTheAnalyser", "OUTFILE site.html\n", "/p/site_files/", "site_files/"},
    {"LastOutfileCounts", "OUTFILE ./a.html\nOUTFILE ./sub/b.report.htm\n",
     "/p/sub/b.report_files/", "b.report_files/"},
    {"BlanksInTheName", "OUTFILE \"./My Site.html\"\n", "/p/My Site_files/", "My Site_files/"},
    {"CommentedChartDirIgnored", "OUTFILE ./Report.html\n# CHARTDIR pies/\n", "/p/Report_files/",
     "Report_files/"},
    {"UsersChartDirWins", "OUTFILE ./Report.html\nchartdir pies/\n", nullptr, nullptr},
    {"UsersLocalChartDirWins", "OUTFILE ./Report.html\nLOCALCHARTDIR /srv/pies/\n", nullptr,
     nullptr},
    {"StandardOutput", "OUTFILE -\n", nullptr, nullptr},
    {"StandardOutputByName", "OUTFILE stdout\n", nullptr, nullptr},
    {"NoOutfile", "OUTPUT HTML\n", nullptr, nullptr},
    {"DateCodes", "OUTFILE ./report%Y%M.html\n", nullptr, nullptr},
    {"HashCutsTheImageAddress", "OUTFILE \"./a#b.html\"\n", nullptr, nullptr},
};

class ChartFolderCases : public testing::TestWithParam<ChartCase> {};

TEST_P(ChartFolderCases, ChoosesTheFolderBesideTheReportUnlessTheConfigurationDecides) {
  const ChartCase &c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString config = dir.filePath(QStringLiteral("analog.cfg"));
  QFile file(config);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(c.config);
  file.close();

  const auto folder = ChartFolderFor(config, QStringLiteral("/p/"));
  if (!c.localDir) {
    EXPECT_FALSE(folder.has_value()) << folder->localDir.toStdString();
    return;
  }
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->localDir.toStdString(), c.localDir);
  EXPECT_EQ(folder->arguments,
            (QStringList{QStringLiteral("+CCHARTDIR \"%1\"").arg(QLatin1String(c.chartDir)),
                         QStringLiteral("+CLOCALCHARTDIR \"%1\"").arg(QLatin1String(c.localDir))}));
}

INSTANTIATE_TEST_SUITE_P(Configs, ChartFolderCases, testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ChartFolder, UnreadableConfigurationLeavesTheCharts) {
  EXPECT_FALSE(ChartFolderFor(QStringLiteral("/nonexistent/analog.cfg"), QStringLiteral("/p/")));
}

} // namespace
} // namespace kestrum
