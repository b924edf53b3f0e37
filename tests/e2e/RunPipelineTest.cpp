// The run pipeline with the real analyser, the real Tellurix end watch and
// real processes: resolver step, offline mode, an existing configuration
// file, missing and unusable programs, and the timing texts.

#include "runs/RunPipeline.h"
#include "RunFixture.h"
#include "profile/ProfileFile.h"
#include "runs/AnalyserMessages.h"
#include "shell/TellurixHost.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace kestrum::testing {
namespace {

// The panels as "Key=text" in the order they were set; opened documents.
class RecordingFront : public RunFront {
public:
  RunInputs Inputs() const override { return inputs; }
  void SetPanelText(const QString &key, const QString &text) override {
    history << key + QLatin1Char('=') + text;
  }
  void OpenWithShell(const QString &file) override { opened << file; }

  RunInputs inputs;
  QStringList history;
  QStringList opened;
};

class CountingDownload : public LogDownload {
public:
  void Download(Profile &) override { ++downloads; }
  int downloads = 0;
};

class PipelineRun : public RunFixture {
protected:
  void SetUp() override {
    RunFixture::SetUp();
    ASSERT_TRUE(tellurix.Create(bag)) << "the Tellurix control is not registered";
    ASSERT_TRUE(
        ReadProfileFile(folder.file(QStringLiteral("Template/Default.Kestrum")), profile).ok());
    front.inputs.ProgramDir = programDir();
    front.inputs.NoFinishAnnounce = true;
    pipeline = std::make_unique<RunPipeline>(
        profile, RunServices{&front, &messages, &programs, nullptr, &download, tellurix.control()});
    QObject::connect(&tellurix, &TellurixHost::CheckedAppEnd, &host,
                     [this] { pipeline->Tellurix_CheckedAppEnd(); });
  }

  // Waits for the end of whatever the pipeline started.
  bool finish() {
    return waitFor([this] { return pipeline->RunningProgram() == RunPipeline::None; });
  }
  void useResolver(const char *program, const char *params = "") {
    profile.Settings.UseExternalDns = kTrue16;
    profile.Settings.ExternalDnsProgram = QString::fromLatin1(program);
    profile.Settings.ExternalDnsParams = QString::fromLatin1(params);
  }
  qsizetype position(const QString &entry) const { return front.history.indexOf(entry); }
  static int seconds(const QString &elapsed) {
    static const QRegularExpression re(QStringLiteral("^ (\\d+) min  (\\d+) sec$"));
    const auto m = re.match(elapsed);
    return m.hasMatch() ? m.captured(1).toInt() * 60 + m.captured(2).toInt() : -1;
  }

  QObject host;
  TellurixHost tellurix{&host};
  PropertyBag bag = TellurixHost::FormPropertyBag();
  Profile profile;
  RecordingFront front;
  DetachedProgramStart programs;
  CountingDownload download;
  std::unique_ptr<RunPipeline> pipeline;
};

TEST_F(PipelineRun, TheResolverRunsFirstAndEveryTimeCountsFromTheRunsStart) {
  writeResolver(QStringLiteral("resolver.sh"), 2);
  useResolver("resolver.sh", "\"two words\" /T 4");
  profile.Settings.FtpEnabled = kTrue16;

  pipeline->mnuRunAnalog_Click();
  EXPECT_EQ(pipeline->RunningProgram(), RunPipeline::Resolver);
  ASSERT_TRUE(finish());

  EXPECT_EQ(download.downloads, 1);
  // Started in the program folder with the parameters split, no shell.
  EXPECT_EQ(readText(folder.file(QStringLiteral("resolver-ran.txt"))),
            QStringLiteral("two words\n/T\n4\n"));
  const QFileInfo report(folder.file(QStringLiteral("Report.html")));
  ASSERT_TRUE(report.isFile());
  EXPECT_GE(report.lastModified(),
            QFileInfo(folder.file(QStringLiteral("resolver-ran.txt"))).lastModified());

  const QStringList &h = front.history;
  const qsizetype resolverEnd =
      h.indexOf(QRegularExpression(QStringLiteral("Main=External DNS resolver finished in .*")));
  ASSERT_GE(resolverEnd, 0) << qPrintable(h.join(QLatin1Char('\n')));
  EXPECT_LT(position(QStringLiteral("Main=running external DNS resolver...")), resolverEnd);
  EXPECT_GT(position(QStringLiteral("Main=running Analog...")), resolverEnd);
  const int resolverTime = seconds(h[resolverEnd].section(QStringLiteral(" in "), 1));
  EXPECT_TRUE(h[resolverEnd - 1].startsWith(QLatin1String("RunTime=Time:  0 min  ")));
  EXPECT_GE(resolverTime, 2);
  const int analyserTime = seconds(h.last(4).first().section(QStringLiteral("Time: "), 1));
  EXPECT_GE(analyserTime, resolverTime) << qPrintable(h.join(QLatin1Char('\n')));
  EXPECT_EQ(h.last(3),
            (QStringList{"Status=finished", "Main=Analog run finished", "Status=editing"}));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(QDir::currentPath(), startDir);
}

// A hidden run keeps what the analyser said; a configuration warning shows
// in the status texts instead of going unseen.
TEST_F(PipelineRun, AHiddenRunKeepsTheAnalysersMessagesAndReportsItsWarnings) {
  const QString kept = folder.file(QLatin1String(kAnalyserMessagesFile));
  for (const char *language : {"GREEK", "ENGLISH"}) {
    front.history.clear();
    profile.Settings.Language = QLatin1String(language);
    pipeline->mnuRunAnalog_Click();
    ASSERT_TRUE(finish());
    ASSERT_TRUE(QFileInfo(kept).isFile()) << language;
    const QStringList &h = front.history;
    if (QLatin1String(language) == QLatin1String("GREEK")) {
      EXPECT_TRUE(readText(kept).contains(QLatin1String("LANGUAGE GREEK")));
      EXPECT_EQ(h.last(3), (QStringList{"Status=finished, 1 configuration warning",
                                        "Main=Analog run finished with 1 configuration warning "
                                        "(Tools > Analyser messages...)",
                                        "Status=editing"}));
    } else {
      EXPECT_FALSE(readText(kept).contains(QLatin1String("GREEK"))) << "the last run's only";
      EXPECT_EQ(h.last(3),
                (QStringList{"Status=finished", "Main=Analog run finished", "Status=editing"}));
    }
  }
}

TEST_F(PipelineRun, OfflineSkipsTheDownloadAndTheResolver) {
  writeResolver(QStringLiteral("resolver.sh"), 0);
  useResolver("resolver.sh");
  profile.Settings.FtpEnabled = kTrue16;
  front.inputs.OfflineMode = true;

  pipeline->mnuRunAnalog_Click();
  EXPECT_EQ(pipeline->RunningProgram(), RunPipeline::Analyser);
  ASSERT_TRUE(finish());
  EXPECT_EQ(download.downloads, 0);
  EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("resolver-ran.txt"))));
  EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Report.html"))));
  EXPECT_EQ(position(QStringLiteral("Main=running external DNS resolver...")), -1);
  // Offline, the configuration reads the analyser's DNS cache only.
  EXPECT_TRUE(readText(folder.file(QStringLiteral("analog.cfg"))).contains("DNS READ"));
}

TEST_F(PipelineRun, AnExistingConfigurationIsUsedAsItWasEditedByHand) {
  pipeline->mnuRunCreate_Click();
  EXPECT_EQ(front.history,
            (QStringList{"Main=creating Analog configuration file...", "Status=creating",
                         "RunTime= 0 min  0 sec", "Main=Analog configuration file created",
                         "Status=editing"}));
  QString cfg = readText(folder.file(QStringLiteral("analog.cfg")));
  ASSERT_TRUE(cfg.contains(QStringLiteral("OUTFILE ./Report.html\r\n")));
  cfg.replace(QStringLiteral("OUTFILE ./Report.html"), QStringLiteral("OUTFILE ./HandEdited.html"));
  ASSERT_TRUE(writeText(folder.file(QStringLiteral("analog.cfg")), cfg.toLatin1()));

  pipeline->mnuRunCreateRun_Click();
  ASSERT_TRUE(finish());
  EXPECT_EQ(readText(folder.file(QStringLiteral("analog.cfg"))), cfg);
  EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("HandEdited.html"))));
  EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Report.html"))));
}

TEST_F(PipelineRun, AMissingResolverStopsTheRunBeforeTheAnalyser) {
  useResolver("qdns.exe", "/G analog.cfg");
  pipeline->mnuRunAnalog_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("External DNS resolver: qdns.exe not found - please ensure it is "
                           "installed (copied) into the Kestrum root dir!"));
  EXPECT_EQ(messages.shown[0].title, QStringLiteral("Kestrum error"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
  EXPECT_EQ(pipeline->RunningProgram(), RunPipeline::None);
  EXPECT_EQ(front.history.last(2),
            (QStringList{"Main=preparing to run Analog...", "Status=running"}));
  QTest::qWait(1500); // nothing was started, so nothing ends
  EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Report.html"))));
  EXPECT_EQ(messages.shown.size(), 1u);
}

// "Show result" survives a run whose analyser is missing: the report opens
// at the end of the next run that reaches the analyser.
TEST_F(PipelineRun, AMissingAnalyserKeepsTheShowResultWishForTheNextRun) {
  ASSERT_TRUE(QFile::rename(folder.file(QStringLiteral("analog")),
                            folder.file(QStringLiteral("analog.away"))));
  pipeline->mnuRunResult_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("Analog logfile analyzer not found - please ensure it is installed "
                           "(copied) into the Kestrum root dir!"));
  EXPECT_EQ(messages.shown[0].title, QStringLiteral("Kestrum error"));
  EXPECT_EQ(pipeline->RunningProgram(), RunPipeline::None);
  EXPECT_EQ(QDir::currentPath(), startDir);
  EXPECT_TRUE(front.opened.isEmpty());

  ASSERT_TRUE(QFile::rename(folder.file(QStringLiteral("analog.away")),
                            folder.file(QStringLiteral("analog"))));
  pipeline->mnuRunAnalog_Click();
  ASSERT_TRUE(finish());
  EXPECT_EQ(front.opened, QStringList{programDir() + QStringLiteral("./Report.html")});
  EXPECT_FALSE(pipeline->ShowResultAfterRun);
}

// A program file that is there but cannot be started is reported under the
// missing program's title, and no watch is armed.
TEST_F(PipelineRun, AProgramThatCannotBeStartedIsReportedAndNotWatched) {
  const struct {
    const char *resolver; // nullptr: the analyser itself cannot start
    const char *textStart;
  } cases[] = {{nullptr, "Analog logfile analyzer could not be started (not executable)"},
               {"resolver.sh", "External DNS resolver: resolver.sh could not be started"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.resolver ? c.resolver : "analog");
    messages.shown.clear();
    const QString file = folder.file(QLatin1String(c.resolver ? c.resolver : "analog"));
    if (c.resolver) {
      useResolver(c.resolver);
      ASSERT_TRUE(writeText(file, "#!/bin/sh\n"));
    }
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    pipeline->mnuRunAnalog_Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QLatin1String(c.textStart)))
        << qPrintable(messages.shown[0].text);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Kestrum error"));
    EXPECT_EQ(pipeline->RunningProgram(), RunPipeline::None);
    EXPECT_EQ(QDir::currentPath(), startDir);
  }
}

TEST_F(PipelineRun, AnEndEventWithNothingWatchedIsAnError) {
  pipeline->Tellurix_CheckedAppEnd();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("An Error occured in running other applications"));
  EXPECT_EQ(messages.shown[0].title, QStringLiteral("Error"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
  EXPECT_TRUE(front.history.isEmpty());
}

} // namespace
} // namespace kestrum::testing
