#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;

namespace kestrum {

class Messages;

// frmDeleteUnr, "Delete unresolved DNS entries": lists the files of the
// program folder that match Pattern and removes the unresolved entries of
// the one clicked. The clean-up runs on a worker thread so the window stays
// responsive; MProg follows it in whole percents. Not modal.
class DeleteUnresolvedWindow : public QDialog {
  Q_OBJECT
public:
  DeleteUnresolvedWindow(const QString &programDir, Messages &messages, QWidget *parent = nullptr);
  ~DeleteUnresolvedWindow() override;

  // Refills FileSelect from the program folder with the pattern's files.
  void RefreshFileList();
  void DelUn_Click();
  bool IsCleaning() const { return worker_ != nullptr; }

  QLineEdit *Pattern = nullptr;
  QListWidget *FileSelect = nullptr;
  QPushButton *DelUn = nullptr;
  QProgressBar *MProg = nullptr;
  QPushButton *OKBut = nullptr;

signals:
  void cleanupFinished();

private:
  void finishCleanup(const QString &error);

  QString programDir_;
  Messages &messages_;
  QThread *worker_ = nullptr;
};

} // namespace kestrum
