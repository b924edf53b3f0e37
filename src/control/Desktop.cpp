#include "Desktop.h"

#include "platform/ProgramStart.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace kestrum::tellurix {

namespace {

// Windows that someone can see and close: a widget application on a real
// display (offscreen, a modal box would wait for ever).
bool haveWindows() {
  if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
    return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// A path to an executable file, or a name found on PATH.
bool HasProgram(const QString &program) {
  if (program.contains(QLatin1Char('/'))) {
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable();
  }
  return !QStandardPaths::findExecutable(program).isEmpty();
}

class RealDesktop final : public Desktop {
public:
  int Run(const QString &program, const QStringList &args) override {
    if (!HasProgram(program))
      return -1;
    // Its messages go to the host's standard error; its output is not wanted
    // (lp's "request id is ..." would mix with the host's own).
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted() || !process.waitForFinished(-1))
      return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  bool Start(const QString &program, const QStringList &args) override {
    // The programs started here open windows of their own; what they write
    // to a terminal is not shown.
    return HasProgram(program) &&
           DetachedProgramStart().Start(program, args, QString(), WindowStyle::Hidden, {}, nullptr);
  }

  void ShowModal(QDialog &dialog) override {
    if (haveWindows())
      dialog.exec();
  }

  MessageAnswer show(const QString &text, MessageIcon, const QString &title,
                     MessageButtons) override {
    if (haveWindows()) {
      QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
      box.exec();
    } else {
      fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    return MessageAnswer::Ok;
  }
};

class AbsentDesktop final : public Desktop {
public:
  int Run(const QString &, const QStringList &) override { return -1; }
  bool Start(const QString &, const QStringList &) override { return false; }
  void ShowModal(QDialog &) override {}
  MessageAnswer show(const QString &, MessageIcon, const QString &, MessageButtons) override {
    return MessageAnswer::Ok;
  }
};

} // namespace

std::shared_ptr<Desktop> SystemDesktop() {
  return std::make_shared<RealDesktop>();
}

std::shared_ptr<Desktop> NoDesktop() {
  return std::make_shared<AbsentDesktop>();
}

} // namespace kestrum::tellurix
