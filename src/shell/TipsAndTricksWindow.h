#pragma once

#include <QDialog>

namespace kestrum {

// frmTipsOld: "Kestrum Tips and Tricks", a fixed text to read; not modal.
class TipsAndTricksWindow : public QDialog {
  Q_OBJECT
public:
  explicit TipsAndTricksWindow(QWidget *parent = nullptr);
  static QString TipText();
};

} // namespace kestrum
