#include "DeleteUnresolvedWindow.h"

#include "platform/Messages.h"
#include "runs/DnsCleanup.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

namespace kestrum {

DeleteUnresolvedWindow::DeleteUnresolvedWindow(const QString &programDir, Messages &messages,
                                               QWidget *parent)
    : QDialog(parent), programDir_(programDir), messages_(messages) {
  setWindowTitle(QStringLiteral("Delete unresolved DNS entries"));
  Pattern = new QLineEdit(QStringLiteral("*.KestrumDNS"));
  Pattern->setToolTip(
      QStringLiteral("Which files of the program folder to list (wildcards * and ?)"));
  FileSelect = new QListWidget;
  FileSelect->setToolTip(QStringLiteral("Click the DNS cache file to clean"));
  DelUn = new QPushButton(QStringLiteral("Delete unresolved"));
  DelUn->setToolTip(QStringLiteral("Remove the entries that could not be resolved; the file is "
                                   "kept as \"Old <name>\" first"));
  DelUn->setEnabled(false);
  MProg = new QProgressBar;
  MProg->setRange(0, 100);
  MProg->setValue(0);
  OKBut = new QPushButton(QStringLiteral("Close"));

  auto *patternLabel = new QLabel(QStringLiteral("&Pattern:"));
  patternLabel->setBuddy(Pattern);
  auto *layout = new QGridLayout(this);
  layout->addWidget(patternLabel, 0, 0);
  layout->addWidget(Pattern, 0, 1, 1, 2);
  layout->addWidget(FileSelect, 1, 0, 1, 3);
  layout->addWidget(MProg, 2, 0, 1, 3);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(DelUn);
  buttons->addWidget(OKBut);
  layout->addLayout(buttons, 3, 0, 1, 3);
  layout->setColumnStretch(1, 1);

  connect(Pattern, &QLineEdit::textChanged, this, &DeleteUnresolvedWindow::RefreshFileList);
  connect(FileSelect, &QListWidget::itemClicked, this,
          [this] { DelUn->setEnabled(!IsCleaning()); });
  connect(DelUn, &QPushButton::clicked, this, &DeleteUnresolvedWindow::DelUn_Click);
  connect(OKBut, &QPushButton::clicked, this, &QDialog::close);
  RefreshFileList();
  resize(460, 340);
}

DeleteUnresolvedWindow::~DeleteUnresolvedWindow() {
  if (worker_) {
    worker_->wait(); // the clean-up finishes its file; it cannot be stopped halfway
    delete worker_;
  }
}

void DeleteUnresolvedWindow::RefreshFileList() {
  FileSelect->clear();
  const QDir dir(programDir_);
  FileSelect->addItems(dir.entryList({Pattern->text()}, QDir::Files, QDir::Name));
}

void DeleteUnresolvedWindow::DelUn_Click() {
  const QListWidgetItem *selected = FileSelect->currentItem();
  if (!selected || !FileSelect->selectedItems().contains(selected)) {
    messages_.show(QStringLiteral("Click the DNS cache file to clean in the list first."),
                   MessageIcon::Exclamation, QStringLiteral("Kestrum"));
    return;
  }
  const QString name = selected->text();
  DelUn->setEnabled(false);
  MProg->setValue(0);
  // The window waits for the worker before it goes, so `this` outlives it.
  worker_ = QThread::create([this, name] {
    const Result r = DeleteUnresolvedDns(programDir_, name, [this](int percent) {
      // Repainted on the window's thread, only when the whole percent changes.
      QMetaObject::invokeMethod(
          this, [this, percent] { MProg->setValue(percent); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this, [this, error = r.error] { finishCleanup(error); }, Qt::QueuedConnection);
  });
  worker_->start();
}

void DeleteUnresolvedWindow::finishCleanup(const QString &error) {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  DelUn->setEnabled(true);
  if (error.isEmpty())
    messages_.show(QStringLiteral("Unresolved DNS Data deleted"), MessageIcon::Information,
                   QStringLiteral("Message"));
  else
    messages_.show(QStringLiteral("The unresolved entries could not be deleted: %1\n\n"
                                  "The DNS cache file is unchanged.")
                       .arg(error),
                   MessageIcon::Exclamation, QStringLiteral("Kestrum"));
  emit cleanupFinished();
}

} // namespace kestrum
