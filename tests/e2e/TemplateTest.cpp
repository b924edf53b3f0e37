// The templates the build puts into the program folder.

#include "ProgramFolderCopy.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

QMap<QString, QString> dumpFields(const ProgramFolderCopy &folder, const QString &profile) {
  QMap<QString, QString> fields;
  const auto run = folder.cli({QStringLiteral("dump"), profile});
  for (const QString &line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    fields.insert(line.left(eq), line.mid(eq + 1));
  }
  return fields;
}

class Template : public testing::TestWithParam<const char *> {};

// Debian's analog looks bare names up in system folders; "./" names resolve
// in the program folder, where the launcher runs it.
TEST_P(Template, NamesItsFilesInTheProgramFolder) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const auto fields =
      dumpFields(folder, folder.file(QStringLiteral("Template/") + QLatin1String(GetParam())));
  ASSERT_EQ(fields.value(QStringLiteral("Signature")), QStringLiteral("Kestrum"));
  for (const char *name : {"LogFile", "OutFile", "DnsFile"})
    EXPECT_TRUE(fields.value(QLatin1String(name)).startsWith(QLatin1String("./")))
        << name << "=" << qPrintable(fields.value(QLatin1String(name)));
}

INSTANTIATE_TEST_SUITE_P(Bundled, Template,
                         testing::Values("Default.Kestrum", "PlainText.Kestrum"));

TEST(DefaultTemplate, HasEveryReportOnAndNoDnsLookups) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const auto fields = dumpFields(folder, folder.file(QStringLiteral("Template/Default.Kestrum")));
  for (int i = 0; i < 32; ++i)
    EXPECT_EQ(fields.value(QStringLiteral("ReportOn%1").arg(i)).toStdString(), "True") << i;
  EXPECT_EQ(fields.value(QStringLiteral("Output")).toStdString(), "HTML");
  EXPECT_EQ(fields.value(QStringLiteral("DnsMode")).toStdString(), "NONE");
}

} // namespace
