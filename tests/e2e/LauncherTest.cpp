// The program folder's analog launcher runs the system analyser on the
// folder's own analog.cfg only, in that folder, with the caller's arguments.

#include "ProgramFolderCopy.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

TEST(Launcher, UsesOnlyItsOwnFoldersConfigurationWhereverItIsStarted) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  ASSERT_EQ(
      folder.cli({QStringLiteral("cfg"), folder.file(QStringLiteral("Template/Default.Kestrum"))})
          .exitCode,
      0);

  // -settings (passed on by the launcher) makes analog list what it read
  // instead of analysing.
  const auto run = folder.analyser({QStringLiteral("-settings")}, QDir::rootPath());
  ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
  const QString settings = run.out + run.err;
  // Exactly one configuration file: the folder's own, not the system's.
  static const QRegularExpression readFiles(
      QStringLiteral("Configuration files read:\n((?:  [^\n]*\n)*)"));
  EXPECT_EQ(readFiles.match(settings).captured(1).toStdString(),
            ("  " + folder.file(QStringLiteral("analog.cfg")) + "\n").toStdString())
      << qPrintable(settings);
  // The template's "./" log name is found although the caller stood elsewhere.
  EXPECT_TRUE(settings.contains(QStringLiteral("Reading logfiles:\n  ./SampleAccess.log\n")));
  EXPECT_FALSE(settings.contains(QStringLiteral("cannot open that file"))) << qPrintable(settings);
}

} // namespace
