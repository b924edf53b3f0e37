// The kestrum program itself, started as a user starts it: a profile path
// on the command line, the window shown (offscreen), then ended by the
// session (SIGTERM), which runs Exit and writes the settings file.

#include "ProgramFolderCopy.h"
#include "shell/Settings.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(ProgramStart, OpensTheCommandLineProfileAndWritesTheSettingsAtExit) {
  ProgramFolderCopy folder;
  ASSERT_TRUE(folder.ok());
  const QString profile = folder.file(QStringLiteral("My Shop.Kestrum"));
  ASSERT_TRUE(QFile::copy(folder.file(QStringLiteral("Template/Default.Kestrum")), profile));
  ASSERT_EQ(
      folder.cli({QStringLiteral("set"), profile, QStringLiteral("ProfileName=Shop")}).exitCode, 0);

  QProcess kestrum;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("KESTRUM_PROGRAM_DIR"), folder.path());
  // The control registered by the build, as in the program folder.
  env.insert(QStringLiteral("KESTRUM_REGISTRY"),
             ProgramFolderCopy::builtProgramDir() + QStringLiteral("registry"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("KESTRUM_ANNOUNCE_SHOWN"), QStringLiteral("1"));
  env.insert(QStringLiteral("KESTRUM_NO_SPLASH"), QStringLiteral("1"));
  kestrum.setProcessEnvironment(env);
  kestrum.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // The path in quotes, as a desktop file manager passes it.
  kestrum.start(ProgramFolderCopy::builtProgramDir() + QStringLiteral("kestrum"),
                {QLatin1Char('"') + profile + QLatin1Char('"')});
  ASSERT_TRUE(kestrum.waitForStarted());

  QByteArray out;
  while (!out.contains('\n') && kestrum.waitForReadyRead(30000))
    out += kestrum.readAllStandardOutput();
  EXPECT_EQ(QString::fromUtf8(out).trimmed(),
            QStringLiteral("shown\tKestrum - Shop (%1)").arg(profile));
  EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Kestrum.KestrumSettings"))));

  kestrum.terminate();
  ASSERT_TRUE(kestrum.waitForFinished(30000));
  EXPECT_EQ(kestrum.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(kestrum.exitCode(), 0);
  kestrum::ApplicationSettings settings;
  ASSERT_TRUE(
      kestrum::ReadSettingsFile(folder.file(QStringLiteral("Kestrum.KestrumSettings")), settings)
          .ok());
  EXPECT_EQ(settings.FormatVersion, 20000);
  EXPECT_EQ(settings.RecentFiles[0].Name, QStringLiteral("Shop"));
  EXPECT_EQ(settings.RecentFiles[0].Path, profile);
  EXPECT_EQ(settings.Options.MaxRecentFiles, 10);
  EXPECT_FALSE(settings.Options.LastDir.isEmpty());
}

} // namespace
