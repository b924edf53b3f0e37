#pragma once

#include "runs/FtpDownload.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrum {

// "Downloading...": shows the log download's progress and offers Cancel.
// Closes itself when the exchange has ended.
class frmDownload : public QDialog, public DownloadView {
  Q_OBJECT
public:
  // Shows the results window for files and their folder; by default
  // frmShowRes, modally.
  using ResultsPresenter = std::function<void(const QStringList &, const QString &)>;

  frmDownload(const ProfileSettings &settings, const QString &programDir, QWidget *parent = nullptr,
              int startDelayMs = 1000, ResultsPresenter showResults = {});

  FtpDownload &Download() { return download_; }

  QLabel *CurrentAction;
  QProgressBar *MainProgress;
  QPushButton *CancelBut;

  void SetCurrentAction(const QString &text) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressValue(int value) override;
  void Beep() override;
  void ShowResults(const QStringList &files, const QString &profileDir) override;
  void AwaitCancel() override {}
  void CloseWindow() override;

protected:
  void reject() override; // the close box and Esc act as "Cancel"

private:
  ResultsPresenter showResults_;
  FtpDownload download_;
};

// The download step of a run: shows frmDownload modally for the profile's
// FTP settings and returns when it has closed, whatever the outcome.
DownloadOutcome ShowDownloadWindow(const ProfileSettings &settings, const QString &programDir,
                                   QWidget *parent = nullptr);

} // namespace kestrum
