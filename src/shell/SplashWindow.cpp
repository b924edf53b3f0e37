#include "SplashWindow.h"

#include "ProductLogo.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace kestrum {
namespace {

QLabel *label(const QString &name, const QString &text, double scale = 1.0, bool bold = false) {
  auto *l = new QLabel(text);
  l->setObjectName(name);
  QFont font = l->font();
  font.setPointSizeF(font.pointSizeF() * scale);
  font.setBold(bold);
  l->setFont(font);
  return l;
}

} // namespace

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  auto *frame = new QFrame;
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setFrameShape(QFrame::Box);
  auto *logo = new QLabel;
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setPixmap(ProductLogo(96));
  auto *grid = new QGridLayout(frame);
  grid->setContentsMargins(20, 16, 20, 16);
  grid->setHorizontalSpacing(24);
  grid->addWidget(logo, 0, 0, 4, 1, Qt::AlignTop);
  grid->addWidget(
      label(QStringLiteral("lblCompanyProduct"), QStringLiteral("Brannock Technologies")), 0, 1);
  grid->addWidget(label(QStringLiteral("lblProductName"), QStringLiteral("Kestrum"), 2.6, true), 1,
                  1);
  grid->addWidget(label(QStringLiteral("lblPlatform"), QStringLiteral("Linux"), 1.2), 2, 1,
                  Qt::AlignRight);
  grid->addWidget(label(QStringLiteral("lblVersion"), VersionText()), 3, 1, Qt::AlignRight);
  grid->addWidget(label(QStringLiteral("lblWarning"),
                        QStringLiteral("A front end for the web-log analyser analog.")),
                  4, 0, 1, 2);
  grid->addWidget(label(QStringLiteral("lblCopyright"),
                        QStringLiteral("Loading the profile and the settings...")),
                  5, 0, 1, 2);
  grid->addWidget(label(QStringLiteral("lblCompany"), QStringLiteral("Brannock Technologies")), 6,
                  0, 1, 2);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void SplashWindow::ShowNow() {
  adjustSize();
  if (const QScreen *screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
  RepaintNow();
}

void SplashWindow::RepaintNow() {
  if (!isVisible())
    return;
  repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void SplashWindow::keyPressEvent(QKeyEvent *) {
  close();
}

void SplashWindow::mousePressEvent(QMouseEvent *) {
  close();
}

} // namespace kestrum
