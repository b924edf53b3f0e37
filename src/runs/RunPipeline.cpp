#include "RunPipeline.h"

#include "AnalyserMessages.h"
#include "ChartFolder.h"

#include "platform/CommandLine.h"
#include "profile/ConfigWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <cmath>

namespace kestrum {
namespace {

constexpr int32_t kSecondsPerDay = 24 * 60 * 60;
const QString kErrorTitle = QStringLiteral("Kestrum error");

// A number as the system writes it: a blank before a value that is not
// negative, "-" before one that is.
QString numberText(double value) {
  const QString digits = QString::number(std::fabs(value), 'f', 0);
  return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits;
}

// Rounds to the nearest whole number, halves to the even neighbour.
int32_t roundHalfEven(double value) {
  return static_cast<int32_t>(std::nearbyint(value));
}

// A program file in the program folder; hidden files do not count.
bool programFileExists(const QString &path) {
  const QFileInfo file(path);
  return file.isFile() && !file.fileName().startsWith(QLatin1Char('.'));
}

} // namespace

double SystemRunClock::SecondsSinceMidnight() const {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

QString FormatElapsed(int32_t seconds) {
  const double minutes = std::floor(seconds / 60.0);
  const int32_t rest = seconds % 60; // truncating: keeps the sign of seconds
  return numberText(minutes) + QStringLiteral(" min ") + numberText(rest) + QStringLiteral(" sec");
}

int32_t ElapsedSince(int32_t start, double now) {
  double difference = now - start;
  // The start is rounded, so a run that just began may read up to half a
  // second below it; anything further below means the clock passed midnight.
  if (difference < -0.5)
    difference += kSecondsPerDay;
  return roundHalfEven(difference);
}

RunPipeline::RunPipeline(Profile &profile, RunServices services)
    : profile_(profile), services_(services) {
  if (!services_.download)
    services_.download = &noDownload_;
  if (!services_.clock)
    services_.clock = &systemClock_;
}

int32_t RunPipeline::Now() const {
  return roundHalfEven(services_.clock->SecondsSinceMidnight());
}

int32_t RunPipeline::Elapsed() const {
  return ElapsedSince(runStart_, services_.clock->SecondsSinceMidnight());
}

QString RunPipeline::ReportPath() const {
  return services_.front->Inputs().ProgramDir + profile_.Settings.OutFile;
}

void RunPipeline::SetPanels(const QString &main, const QString &status) {
  services_.front->SetPanelText(QStringLiteral("Main"), main);
  services_.front->SetPanelText(QStringLiteral("Status"), status);
}

// ---- Run menu ----------------------------------------------------------------

void RunPipeline::mnuRunAnalog_Click() {
  runStart_ = Now();
  DoRun(false);
}

void RunPipeline::mnuRunResult_Click() {
  ShowResultAfterRun = true;
  mnuRunAnalog_Click();
}

void RunPipeline::mnuRunShow_Click() {
  services_.front->OpenWithShell(ReportPath());
}

void RunPipeline::mnuRunCreate_Click() {
  const int32_t start = Now();
  SetPanels(QStringLiteral("creating Analog configuration file..."), QStringLiteral("creating"));
  services_.front->ReadWindowIntoProfile();
  const RunInputs inputs = services_.front->Inputs();
  MakeCFG(profile_, {inputs.ProgramDir, inputs.OfflineMode, inputs.TimeSpecs}, *services_.messages);
  services_.front->SetPanelText(
      QStringLiteral("RunTime"),
      FormatElapsed(ElapsedSince(start, services_.clock->SecondsSinceMidnight())));
  SetPanels(QStringLiteral("Analog configuration file created"), QStringLiteral("editing"));
}

void RunPipeline::mnuRunCreateRun_Click() {
  runStart_ = Now();
  DoRun(true);
}

// ---- The run -----------------------------------------------------------------

void RunPipeline::DoRun(bool NoCFG) {
  services_.front->ReadWindowIntoProfile();
  SetPanels(QStringLiteral("preparing to run Analog..."), QStringLiteral("running"));
  analyserFinished_ = false;
  const ProfileSettings &s = profile_.Settings;
  const RunInputs inputs = services_.front->Inputs();
  if (!inputs.OfflineMode && s.FtpEnabled != 0)
    services_.download->Download(profile_);
  if (!NoCFG)
    MakeCFG(profile_, {inputs.ProgramDir, inputs.OfflineMode, inputs.TimeSpecs},
            *services_.messages);

  if (s.UseExternalDns == 0 || inputs.OfflineMode) {
    StartAnalog();
    return;
  }
  const QString resolver = inputs.ProgramDir + s.ExternalDnsProgram;
  if (!programFileExists(resolver)) {
    services_.messages->show(QStringLiteral("External DNS resolver: ") + s.ExternalDnsProgram +
                                 QStringLiteral(" not found - please ensure it is installed "
                                                "(copied) into the Kestrum root dir!"),
                             MessageIcon::Critical, kErrorTitle);
    return;
  }
  savedDir_ = QDir::currentPath();
  QDir::setCurrent(inputs.ProgramDir);
  services_.front->SetPanelText(QStringLiteral("Main"),
                                QStringLiteral("running external DNS resolver..."));
  if (!StartProgram(resolver, SplitWindowsArguments(s.ExternalDnsParams), inputs.ProgramDir,
                    WindowStyleFor(s.ShowExternalDns),
                    QStringLiteral("External DNS resolver: ") + s.ExternalDnsProgram, QString()))
    return;
  Watch(resolver, Resolver);
}

void RunPipeline::StartAnalog() {
  const QString programDir = services_.front->Inputs().ProgramDir;
  const QString analyser = programDir + QLatin1String(kAnalyserFile);
  if (!programFileExists(analyser)) {
    services_.messages->show(QStringLiteral("Analog logfile analyzer not found - please ensure "
                                            "it is installed (copied) into the Kestrum root dir!"),
                             MessageIcon::Critical, kErrorTitle);
    return;
  }
  savedDir_ = QDir::currentPath();
  QDir::setCurrent(programDir);
  services_.front->SetPanelText(QStringLiteral("Main"), QStringLiteral("running Analog..."));
  // A hidden analyser's messages are kept for the user; the file always
  // holds those of the last run (none when its output was shown).
  const QString messages = programDir + QLatin1String(kAnalyserMessagesFile);
  QFile::remove(messages);
  QStringList arguments;
  chartDir_.clear();
  if (const auto charts = ChartFolderFor(programDir + QStringLiteral("analog.cfg"), programDir);
      charts && QDir().mkpath(charts->localDir)) {
    chartDir_ = charts->localDir;
    arguments = charts->arguments;
  }
  if (!StartProgram(analyser, arguments, programDir,
                    WindowStyleFor(profile_.Settings.ShowAnalogWindow),
                    QStringLiteral("Analog logfile analyzer"), messages)) {
    if (!chartDir_.isEmpty())
      QDir().rmdir(chartDir_);
    return;
  }
  Watch(analyser, Analyser);
}

// A program file that is there but cannot be started is reported like a
// missing one (same title and icon, with the reason) and no watch is armed;
// the current folder goes back to where it was.
bool RunPipeline::StartProgram(const QString &program, const QStringList &args,
                               const QString &programDir, WindowStyle style,
                               const QString &failureText, const QString &hiddenErrorLog) {
  QString reason;
  if (services_.programs->Start(program, args, programDir, style, hiddenErrorLog, &reason))
    return true;
  QDir::setCurrent(savedDir_);
  services_.messages->show(failureText + QStringLiteral(" could not be started (") + reason +
                               QStringLiteral(") - please ensure it is an executable program "
                                              "in the Kestrum root dir!"),
                           MessageIcon::Critical, kErrorTitle);
  return false;
}

void RunPipeline::Watch(const QString &programPath, Program program) {
  runningProgram_ = program;
  if (!services_.tellurix)
    return;
  std::vector<Variant> args{Variant(programPath), Variant(kEndCheckInterval)};
  services_.tellurix->Invoke(kCheckAppEndDispid, InvokeKind::Method, args, nullptr);
}

void RunPipeline::Tellurix_CheckedAppEnd() {
  RunFront &front = *services_.front;
  switch (runningProgram_) {
  case Resolver:
    front.SetPanelText(QStringLiteral("RunTime"),
                       QStringLiteral("Time: ") + FormatElapsed(Elapsed()));
    QDir::setCurrent(savedDir_);
    front.SetPanelText(QStringLiteral("Main"),
                       QStringLiteral("External DNS resolver finished in ") +
                           FormatElapsed(Elapsed()));
    runningProgram_ = None;
    StartAnalog();
    return;
  case Analyser: {
    front.SetPanelText(QStringLiteral("RunTime"),
                       QStringLiteral("Time: ") + FormatElapsed(Elapsed()));
    // Configuration warnings of a hidden run are not to go unseen.
    problems_ = ConfigurationProblems(LastRunMessages(front.Inputs().ProgramDir));
    const QString warnings = ConfigurationWarningCount(problems_.size());
    front.SetPanelText(QStringLiteral("Status"), warnings.isEmpty()
                                                     ? QStringLiteral("finished")
                                                     : QStringLiteral("finished, ") + warnings);
    analyserFinished_ = true;
    if (!chartDir_.isEmpty())
      QDir().rmdir(chartDir_); // only when no chart was written into it
    if (ShowResultAfterRun) {
      front.OpenWithShell(ReportPath());
      ShowResultAfterRun = false;
    }
    if (!front.Inputs().NoFinishAnnounce) {
      services_.messages->beep();
      services_.messages->show(QStringLiteral("Analog finished running\r\nTime: ") +
                                   FormatElapsed(Elapsed()),
                               MessageIcon::Information, QStringLiteral("Analog finished"));
    }
    QDir::setCurrent(savedDir_);
    SetPanels(warnings.isEmpty() ? QStringLiteral("Analog run finished")
                                 : QStringLiteral("Analog run finished with ") + warnings +
                                       QStringLiteral(" (Tools > Analyser messages...)"),
              QStringLiteral("editing"));
    runningProgram_ = None;
    return;
  }
  default:
    services_.messages->show(QStringLiteral("An Error occured in running other applications"),
                             MessageIcon::Information, QStringLiteral("Error"));
  }
}

} // namespace kestrum
