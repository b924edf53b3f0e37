#include "WindowProgramStart.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWidget>

namespace kestrum {
namespace {

// A window that runs one program and shows what it writes as it comes. The
// program is this window's child process; closing the window while it runs
// only hides it, and the window goes away once both have ended.
class OutputWindow : public QWidget {
public:
  explicit OutputWindow(const QString &program) {
    setObjectName(QStringLiteral("OutputWindow"));
    setWindowTitle(QFileInfo(program).fileName() + QStringLiteral(" - output"));
    output_ = new QPlainTextEdit(this);
    output_->setReadOnly(true);
    output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(output_);
    resize(640, 360);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    connect(&process_, &QProcess::readyRead, this, [this] {
      output_->moveCursor(QTextCursor::End);
      output_->insertPlainText(QString::fromLocal8Bit(process_.readAll()));
    });
    connect(&process_, &QProcess::finished, this, [this] {
      output_->appendPlainText(QStringLiteral("[program ended]"));
      if (isHidden())
        deleteLater();
    });
  }

  bool Start(const QString &program, const QStringList &args, const QString &workingDir,
             QString *error) {
    process_.setProgram(program);
    process_.setArguments(args);
    process_.setWorkingDirectory(workingDir);
    process_.start();
    if (!process_.waitForStarted()) {
      if (error)
        *error = process_.errorString();
      return false;
    }
    show();
    activateWindow();
    return true;
  }

protected:
  void closeEvent(QCloseEvent *event) override {
    if (process_.state() == QProcess::NotRunning)
      deleteLater();
    event->accept();
  }

private:
  QPlainTextEdit *output_;
  QProcess process_;
};

} // namespace

QString WindowProgramStart::TerminalEmulator() {
  return QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
}

bool WindowProgramStart::Start(const QString &program, const QStringList &args,
                               const QString &workingDir, WindowStyle style,
                               const QString &hiddenErrorLog, QString *error) {
  if (style == WindowStyle::Hidden)
    return detached_.Start(program, args, workingDir, style, hiddenErrorLog, error);
  const QFileInfo file(program);
  if (!file.isFile() || !file.isExecutable()) {
    if (error)
      *error = file.isFile() ? QStringLiteral("not executable") : QStringLiteral("not found");
    return false;
  }
  const QString terminal = TerminalEmulator();
  if (!terminal.isEmpty())
    return detached_.Start(terminal, QStringList{QStringLiteral("-e"), program} + args, workingDir,
                           WindowStyle::NormalFocus, {}, error);
  auto *window = new OutputWindow(program);
  if (window->Start(program, args, workingDir, error))
    return true;
  delete window;
  return false;
}

} // namespace kestrum
