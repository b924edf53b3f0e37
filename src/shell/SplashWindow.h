#pragma once

#include <QWidget>

namespace kestrum {

// frmSplash: shown while the program starts; a key press or a click closes
// it earlier.
class SplashWindow : public QWidget {
  Q_OBJECT
public:
  explicit SplashWindow(QWidget *parent = nullptr);
  // Shows the window and paints it at once, before the slow steps.
  void ShowNow();
  void RepaintNow();

protected:
  void keyPressEvent(QKeyEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
};

} // namespace kestrum
