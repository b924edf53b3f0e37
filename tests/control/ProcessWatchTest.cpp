#include "control/Tellurix.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <spawn.h>
#include <sys/wait.h>

using namespace kestrum;
using namespace kestrum::tellurix;

extern char **environ;

namespace {

QCoreApplication &app() {
  static int argc = 1;
  static char name[] = "control_watch_test";
  static char *argv[] = {name, nullptr};
  static QCoreApplication *instance = new QCoreApplication(argc, argv);
  return *instance;
}

// Records the control's events with the time they came.
class Recorder : public EventSink {
public:
  explicit Recorder(Control &control) : control_(control) { clock.start(); }
  void Invoke(int32_t eventDispid) override {
    events.append(control_.GetEventName(eventDispid));
    times.append(clock.elapsed());
    if (onEvent)
      onEvent();
  }
  // Runs the event loop until count events came or timeoutMs passed.
  void waitFor(int count, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (events.size() < count && waited.elapsed() < timeoutMs)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }
  void runFor(int ms) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  }
  QStringList events;
  QList<qint64> times;
  QElapsedTimer clock;
  std::function<void()> onEvent;

private:
  Control &control_;
};

class ProcessWatch : public ::testing::Test {
protected:
  void SetUp() override {
    app();
    ASSERT_TRUE(folder_.isValid());
    control_ = std::make_unique<Tellurix>();
    recorder_ = std::make_unique<Recorder>(*control_);
    control_->Advise(recorder_.get());
    control_->InitProperties();
  }
  void TearDown() override {
    for (QProcess *process : processes_) {
      process->kill();
      process->waitForFinished(2000);
      delete process;
    }
  }

  // A copy of sleep under a name of its own in the temporary folder.
  QString program(const QString &name) {
    const QString path = folder_.filePath(name);
    if (!QFile::exists(path)) {
      EXPECT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), path));
    }
    return path;
  }
  QProcess *start(const QString &path, const QString &seconds) {
    auto *process = new QProcess;
    processes_.append(process);
    process->start(path, {seconds});
    EXPECT_TRUE(process->waitForStarted(5000));
    return process;
  }
  int call(const char *name, std::vector<Variant> args) {
    Variant result;
    return InvokeByName(*control_, QString::fromLatin1(name), InvokeKind::Method, args, &result);
  }
  QString uniqueName(const char *stem) {
    return QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(QCoreApplication::applicationPid());
  }

  QTemporaryDir folder_;
  std::unique_ptr<Tellurix> control_;
  std::unique_ptr<Recorder> recorder_;
  QList<QProcess *> processes_;
};

} // namespace

TEST(WatchMatching, PathWithoutCaseOrFifteenCharacterName) {
  AppWatch watch(AppWatch::Kind::End, [] {});
  struct Case {
    const char *tag, *executable, *name;
    bool matches;
  };
  const Case cases[] = {
      {"/tmp/x/Analog", "/tmp/x/analog", "other", true},    // the path, any case
      {"/tmp/x/Analog", "/usr/bin/analog", "analog", true}, // the name
      {"/tmp/x/Analog", "/usr/bin/analogx", "analogx", false},
      {"/tmp/x/Analog", "/tmp/x/analog2", "analog2", false},
      {"analog", "analog", "analog", true}, // a tag without folder
      {"/opt/kestrum-long-program-name", "/usr/bin/x", "kestrum-long-pr", true},
      {"/opt/kestrum-long-program-name", "/usr/bin/x", "kestrum-long-program-name", false},
      {"/opt/dir/", "/usr/bin/x", "", false}, // no file name
      {"/tmp/Caf\u00e9", "/tmp/CAF\u00c9", "x", true},
      // The system cuts process names at 15 bytes, also inside a character.
      {"/opt/\u00dcberwachungsprogramm", "/usr/bin/x", "\u00fcberwachungspr", true},
      {"/opt/\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4", "/usr/bin/x",
       "\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\u00e4\xc3", true},
      {"/opt/\u00dcberwachungsprogramm", "/usr/bin/x", "\u00fcberwachungspro", false},
  };
  for (const Case &c : cases) {
    watch.arm(QString::fromUtf8(c.tag), 0);
    EXPECT_EQ(watch.matches(c.executable, c.name), c.matches) << c.tag << " / " << c.executable;
  }
}

TEST_F(ProcessWatch, EndReportedOnTheFirstTickAfterExitAndOnlyOnce) {
  const QString path = program(uniqueName("kw"));
  QProcess *process = start(path, QStringLiteral("30"));
  // Interval 0: the timer never ticks, the test ticks by hand.
  ASSERT_EQ(call("CheckAppEnd", {Variant(path.toLower() == path ? path.toUpper() : path.toLower()),
                                 Variant(int32_t(0))}),
            0)
      << "the path is compared without regard to case";
  control_->endWatch().tick();
  control_->endWatch().tick();
  EXPECT_TRUE(recorder_->events.isEmpty()) << "the program still runs";
  process->kill();
  ASSERT_TRUE(process->waitForFinished(5000));
  control_->endWatch().tick();
  EXPECT_EQ(recorder_->events, QStringList{QStringLiteral("CheckedAppEnd")});
  control_->endWatch().tick();
  EXPECT_EQ(recorder_->events.size(), 1);
  EXPECT_FALSE(control_->endWatch().enabled());
}

TEST_F(ProcessWatch, ProgramSeenByNameElsewhereAndWithALongName) {
  for (const QString &name : {uniqueName("kn"), uniqueName("kestrum-long-watched-")}) {
    recorder_->events.clear();
    const QString path = program(name);
    QProcess *process = start(path, QStringLiteral("30"));
    // Another folder: only the name can match (its first 15 characters for a long name).
    ASSERT_EQ(
        call("CheckAppEnd", {Variant(QStringLiteral("/elsewhere/") + name), Variant(int32_t(0))}),
        0);
    control_->endWatch().tick();
    EXPECT_TRUE(recorder_->events.isEmpty()) << name.toStdString();
    process->kill();
    ASSERT_TRUE(process->waitForFinished(5000));
    control_->endWatch().tick();
    EXPECT_EQ(recorder_->events.size(), 1) << name.toStdString();
  }
}

TEST_F(ProcessWatch, EndedProcessNotYetReapedCountsAsEnded) {
  const QString path = program(uniqueName("kz"));
  pid_t pid = 0;
  QByteArray file = QFile::encodeName(path);
  char *argv[] = {file.data(), const_cast<char *>("30"), nullptr};
  ASSERT_EQ(posix_spawn(&pid, file.constData(), nullptr, nullptr, argv, environ), 0);
  ASSERT_EQ(call("CheckAppEnd", {Variant(path), Variant(int32_t(0))}), 0);
  control_->endWatch().tick();
  EXPECT_TRUE(recorder_->events.isEmpty());
  kill(pid, SIGKILL);
  // Wait until the process has ended without reaping it.
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT), 0);
  control_->endWatch().tick();
  EXPECT_EQ(recorder_->events.size(), 1);
  waitpid(pid, nullptr, 0);
}

TEST_F(ProcessWatch, TimerReportsTheEndOfARealProgramOnce) {
  const QString path = program(uniqueName("kt"));
  const qint64 startedAt = recorder_->clock.elapsed();
  start(path, QStringLiteral("0.3")); // runs for 300 ms
  ASSERT_EQ(call("CheckAppEnd", {Variant(path), Variant(int32_t(50))}), 0);
  recorder_->waitFor(1, 10000);
  ASSERT_EQ(recorder_->events, QStringList{QStringLiteral("CheckedAppEnd")});
  EXPECT_GE(recorder_->times[0] - startedAt, 300) << "not before the program ended";
  recorder_->runFor(250);
  EXPECT_EQ(recorder_->events.size(), 1);
}

TEST_F(ProcessWatch, HandlerMayArmTheWatchAgain) {
  const QString missing = folder_.filePath(QStringLiteral("never-started"));
  recorder_->onEvent = [&] {
    if (recorder_->events.size() == 1) {
      EXPECT_EQ(call("CheckAppEnd", {Variant(missing), Variant(int32_t(80))}), 0);
    }
  };
  ASSERT_EQ(call("CheckAppEnd", {Variant(missing), Variant(int32_t(20))}), 0);
  recorder_->waitFor(2, 10000);
  ASSERT_EQ(recorder_->events.size(), 2);
  EXPECT_GE(recorder_->times[1] - recorder_->times[0], 75) << "one interval after re-arming";
  recorder_->runFor(200);
  EXPECT_EQ(recorder_->events.size(), 2);
}

TEST_F(ProcessWatch, ArmingAgainReplacesTheWatch) {
  const QString path = program(uniqueName("kr"));
  start(path, QStringLiteral("30"));
  ASSERT_EQ(call("CheckAppEnd",
                 {Variant(folder_.filePath(QStringLiteral("gone"))), Variant(int32_t(5000))}),
            0);
  ASSERT_EQ(call("CheckAppEnd", {Variant(path), Variant(int32_t(20))}), 0);
  EXPECT_EQ(control_->endWatch().interval(), 20);
  EXPECT_EQ(control_->endWatch().tag(), path.toUpper());
  recorder_->runFor(200);
  EXPECT_TRUE(recorder_->events.isEmpty()) << "the running program is watched now";
}

TEST_F(ProcessWatch, IntervalZeroNeverTicks) {
  const QString missing = folder_.filePath(QStringLiteral("never-started"));
  ASSERT_EQ(call("CheckAppEnd", {Variant(missing), Variant(int32_t(0))}), 0);
  ASSERT_EQ(call("CheckAppStart", {Variant(QStringLiteral("/sbin/whatever"))}),
            0); // CheckTime omitted
  recorder_->runFor(300);
  EXPECT_TRUE(recorder_->events.isEmpty());
  EXPECT_TRUE(control_->endWatch().enabled());
  EXPECT_TRUE(control_->startWatch().enabled());
}

TEST_F(ProcessWatch, StartReportedOnceWhenTheProgramRuns) {
  const QString path = program(uniqueName("ks"));
  ASSERT_EQ(call("CheckAppStart", {Variant(path), Variant(int32_t(30))}), 0);
  recorder_->runFor(120);
  EXPECT_TRUE(recorder_->events.isEmpty());
  start(path, QStringLiteral("30"));
  recorder_->waitFor(1, 10000);
  recorder_->runFor(150);
  EXPECT_EQ(recorder_->events, QStringList{QStringLiteral("CheckedAppStart")});
}

TEST_F(ProcessWatch, ControlReleasedWhileATickPumpsEvents) {
  ASSERT_EQ(call("CheckAppEnd", {Variant(QStringLiteral("/none")), Variant(int32_t(0))}), 0);
  AppWatch &watch = control_->endWatch();
  QTimer::singleShot(0, [&] { control_.reset(); });
  watch.tick(); // the pump runs the release; the tick stops without touching the control
  EXPECT_EQ(control_, nullptr);
  EXPECT_TRUE(recorder_->events.isEmpty());
}

TEST_F(ProcessWatch, SnapshotListsAndEndsARealProcess) {
  const QString path = program(uniqueName("ke"));
  QProcess *process = start(path, QStringLiteral("30"));
  Variant result;
  std::vector<Variant> none;
  ASSERT_EQ(InvokeByName(*control_, QStringLiteral("TasksMakeSnapshot"), InvokeKind::Method, none,
                         &result),
            0);
  auto get = [&](const char *name) {
    std::vector<Variant> args;
    Variant value;
    EXPECT_EQ(
        InvokeByName(*control_, QString::fromLatin1(name), InvokeKind::PropertyGet, args, &value),
        0);
    return value;
  };
  const int32_t count = get("TasksNumber").toI32();
  ASSERT_GT(count, 1);
  const QString wanted = QString::number(process->processId(), 16).toUpper();
  const QString self = QString::number(QCoreApplication::applicationPid(), 16).toUpper();
  bool foundSelf = false, foundChild = false;
  for (int32_t i = 0; i < count; ++i) {
    std::vector<Variant> args{Variant(i)};
    ASSERT_EQ(InvokeByName(*control_, QStringLiteral("TasksCurrent"), InvokeKind::PropertyLet, args,
                           nullptr),
              0);
    const QString id = get("TasksID").toString();
    if (id == self) {
      foundSelf = true;
      EXPECT_EQ(get("TasksName").toString(),
                QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
      EXPECT_EQ(get("TasksParentProcessID").toString(), QString::number(getppid(), 16).toUpper());
      EXPECT_GE(get("TasksThreads").toI32(), 1);
    }
    if (id == wanted) {
      foundChild = true;
      EXPECT_EQ(get("TasksCaption").toString(), QFileInfo(path).fileName());
      EXPECT_EQ(call("TasksEndCurrentTask", {}), 0);
      EXPECT_TRUE(process->waitForFinished(5000)) << "the selected process was ended";
      break;
    }
  }
  EXPECT_TRUE(foundSelf);
  EXPECT_TRUE(foundChild);
}
