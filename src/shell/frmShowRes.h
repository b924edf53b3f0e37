#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kestrum {

class DesktopActions;

// "Results of download": the names the download listed, a button that opens
// the folder they went to, and OK. Shown modally while the run waits, so the
// user can work on the files before the analyser reads them.
class frmShowRes : public QDialog {
  Q_OBJECT
public:
  frmShowRes(const QStringList &files, const QString &profileDir, DesktopActions &desktop,
             QWidget *parent = nullptr);

  QListWidget *FList;
  QPushButton *ButOpen;
  QPushButton *OKBut;
};

} // namespace kestrum
