#include "FetchLogs.h"

#include <QEventLoop>
#include <QTimer>

namespace kestrum {

namespace {

class PrintingView : public DownloadView {
public:
  explicit PrintingView(const std::function<void(const QString &)> &print) : print_(print) {}
  FtpDownload *download = nullptr;

  void SetCurrentAction(const QString &text) override {
    if (!text.isEmpty())
      print_(text);
  }
  void SetProgressMaximum(int) override {}
  void SetProgressValue(int) override {}
  void Beep() override {}
  void ShowResults(const QStringList &files, const QString &) override {
    print_(QStringLiteral("These files have been found and downloaded:"));
    for (const QString &file : files)
      print_(QStringLiteral("  ") + file);
  }
  void AwaitCancel() override {
    // Pressed once the error text has been handled, like a user's click.
    QTimer::singleShot(0, download, [d = download] { d->CancelBut_Click(); });
  }
  void CloseWindow() override {}

private:
  std::function<void(const QString &)> print_;
};

} // namespace

DownloadOutcome FetchLogs(const ProfileSettings &settings, const QString &programDir,
                          const std::function<void(const QString &)> &print,
                          const FetchTrust &trust) {
  PrintingView view(print);
  FtpDownload download(settings, programDir, view, 0, trust);
  view.download = &download;
  QEventLoop loop;
  QObject::connect(&download, &FtpDownload::Closed, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  loop.exec();
  return download.Outcome();
}

} // namespace kestrum
