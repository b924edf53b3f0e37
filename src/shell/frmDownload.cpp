#include "frmDownload.h"

#include "DesktopActions.h"
#include "frmShowRes.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrum {

frmDownload::frmDownload(const ProfileSettings &settings, const QString &programDir,
                         QWidget *parent, int startDelayMs, ResultsPresenter showResults)
    : QDialog(parent), CurrentAction(new QLabel(this)), MainProgress(new QProgressBar(this)),
      CancelBut(new QPushButton(QStringLiteral("Cancel"), this)),
      showResults_(std::move(showResults)), download_(settings, programDir, *this, startDelayMs) {
  setWindowTitle(QStringLiteral("Downloading..."));
  // At least two lines, and more when a long error text needs them; the
  // text can be selected, so a fingerprint or command in it can be copied.
  CurrentAction->setWordWrap(true);
  CurrentAction->setTextInteractionFlags(Qt::TextSelectableByMouse);
  CurrentAction->setMinimumWidth(380);
  CurrentAction->setMinimumHeight(2 * CurrentAction->fontMetrics().lineSpacing());
  CurrentAction->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  MainProgress->setRange(0, 1);
  MainProgress->setValue(0);
  MainProgress->setTextVisible(false);
  connect(CancelBut, &QPushButton::clicked, this, [this] { download_.CancelBut_Click(); });

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CancelBut);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(CurrentAction);
  layout->addWidget(MainProgress);
  layout->addLayout(buttons);
  setMinimumSize(sizeHint());
}

void frmDownload::SetCurrentAction(const QString &text) {
  CurrentAction->setText(text);
  if (const int needed = CurrentAction->heightForWidth(CurrentAction->width());
      needed > CurrentAction->height()) {
    CurrentAction->setMinimumHeight(needed);
    adjustSize();
  }
  CurrentAction->repaint();
}

void frmDownload::SetProgressMaximum(int maximum) {
  MainProgress->setMaximum(qMax(maximum, 1));
}

void frmDownload::SetProgressValue(int value) {
  MainProgress->setValue(value);
}

void frmDownload::Beep() {
  QApplication::beep();
}

void frmDownload::ShowResults(const QStringList &files, const QString &profileDir) {
  if (showResults_) {
    showResults_(files, profileDir);
    return;
  }
  QtDesktopActions desktop;
  frmShowRes results(files, profileDir, desktop, this);
  results.exec();
}

void frmDownload::CloseWindow() {
  done(QDialog::Accepted);
}

void frmDownload::reject() {
  if (download_.Outcome() == DownloadOutcome::Running)
    download_.CancelBut_Click();
  else
    QDialog::reject();
}

DownloadOutcome ShowDownloadWindow(const ProfileSettings &settings, const QString &programDir,
                                   QWidget *parent) {
  frmDownload window(settings, programDir, parent);
  window.exec();
  return window.Download().Outcome();
}

} // namespace kestrum
