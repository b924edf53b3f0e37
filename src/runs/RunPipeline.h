#pragma once

#include "AnalyserMessages.h"

#include "platform/Automation.h"
#include "platform/Messages.h"
#include "platform/ProgramStart.h"
#include "profile/Profile.h"

#include <QString>

#include <cstdint>

namespace kestrum {

// The DISPID of the Tellurix control's CheckAppEnd(AppPath, CheckTime).
constexpr int32_t kCheckAppEndDispid = 0x60030071;
// Milliseconds between two checks of the end watch.
constexpr int32_t kEndCheckInterval = 1000;

// The program-wide values a run reads when it starts.
struct RunInputs {
  QString ProgramDir; // with trailing '/'
  bool OfflineMode = false;
  bool NoFinishAnnounce = false;
  QString TimeSpecs;
};

// The side of a run that the user sees: the window, or the console of
// kestrum-cli.
class RunFront {
public:
  virtual ~RunFront() = default;
  virtual RunInputs Inputs() const = 0;
  // Copies the window's controls into the profile (ReadWriteWindow(false)).
  virtual void ReadWindowIntoProfile() {}
  // The status panels "Main", "Status" and "RunTime".
  virtual void SetPanelText(const QString &key, const QString &text) = 0;
  // Opens a document with its registered application; failures are ignored.
  virtual void OpenWithShell(const QString &file) = 0;
};

// The seconds-since-midnight clock, with fractions.
class RunClock {
public:
  virtual ~RunClock() = default;
  virtual double SecondsSinceMidnight() const = 0;
};

class SystemRunClock : public RunClock {
public:
  double SecondsSinceMidnight() const override;
};

// Fetching the log files before a run; returns when the transfer has ended,
// whatever its outcome.
class LogDownload {
public:
  virtual ~LogDownload() = default;
  virtual void Download(Profile &profile) = 0;
};

// The FTP transfer is not part of this build: the step does nothing.
class NoLogDownload : public LogDownload {
public:
  void Download(Profile &) override {}
};

struct RunServices {
  RunFront *front = nullptr;
  Messages *messages = nullptr;
  ProgramStart *programs = nullptr;
  RunClock *clock = nullptr;
  LogDownload *download = nullptr;
  Dispatch *tellurix = nullptr; // the hosted control; null when it could not be created
};

// Whole seconds as " M min  S sec" (no hours; a blank before a number that
// is not negative, "-" before one that is).
QString FormatElapsed(int32_t seconds);

// Seconds from start to now on the seconds-since-midnight clock, rounded to
// the nearest whole second (halves to even). A run that spans midnight counts
// on across it instead of going negative.
int32_t ElapsedSince(int32_t start, double now);

// The analyser run: the Run menu's decisions, DoRun, StartAnalog and the end
// handler. The outside programs are started without waiting; their end comes
// back only through the control's CheckedAppEnd event, which the host passes
// to Tellurix_CheckedAppEnd. No process handle is kept.
class RunPipeline {
public:
  enum Program : int32_t { None = 0, Analyser = 1, Resolver = 2 };

  static constexpr const char *kAnalyserFile = "analog";

  RunPipeline(Profile &profile, RunServices services);

  // Run menu.
  void mnuRunAnalog_Click();
  void mnuRunResult_Click();
  void mnuRunShow_Click();
  void mnuRunCreate_Click();
  void mnuRunCreateRun_Click();

  void DoRun(bool NoCFG = false);
  void StartAnalog();
  void Tellurix_CheckedAppEnd();

  // The report file: ProgramDir & OutFile.
  QString ReportPath() const;

  bool ShowResultAfterRun = false;
  int32_t RunningProgram() const { return runningProgram_; }
  int32_t RunStart() const { return runStart_; }
  // True once the analyser of the current run has been reported ended.
  bool AnalyserFinished() const { return analyserFinished_; }
  // The configuration warnings of the last hidden analyser run.
  const QList<AnalyserMessage> &ConfigurationProblemsOfLastRun() const { return problems_; }

private:
  void SetPanels(const QString &main, const QString &status);
  void Watch(const QString &programPath, Program program);
  bool StartProgram(const QString &program, const QStringList &args, const QString &programDir,
                    WindowStyle style, const QString &failureText, const QString &hiddenErrorLog);
  int32_t Elapsed() const;
  int32_t Now() const;

  Profile &profile_;
  RunServices services_;
  NoLogDownload noDownload_;
  SystemRunClock systemClock_;
  QString savedDir_;
  QString chartDir_; // the folder the analyser writes its charts into, when the run chose one
  int32_t runStart_ = 0;
  int32_t runningProgram_ = None;
  bool analyserFinished_ = false;
  QList<AnalyserMessage> problems_;
};

} // namespace kestrum
