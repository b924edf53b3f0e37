#include "TrayIcon.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace kestrum::tellurix {

namespace {

QIcon iconOf(const PicturePtr &picture) {
  if (!picture || picture->width <= 0 || picture->height <= 0 ||
      picture->argb.size() != size_t(picture->width) * size_t(picture->height))
    return QIcon();
  const QImage image(reinterpret_cast<const uchar *>(picture->argb.data()), picture->width,
                     picture->height, picture->width * 4, QImage::Format_ARGB32);
  return QIcon(QPixmap::fromImage(image.copy()));
}

} // namespace

std::vector<Event> TrayEvents(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
  case QSystemTrayIcon::Trigger: return {Event::TaskBarLeftPress, Event::TaskBarLeftClick};
  case QSystemTrayIcon::DoubleClick: return {Event::TaskBarLeftDblClick, Event::TaskBarLeftClick};
  case QSystemTrayIcon::Context: return {Event::TaskBarRightPress, Event::TaskBarRightClick};
  default: return {};
  }
}

TrayIcon::TrayIcon(std::function<void(Event)> raise) : raise_(std::move(raise)) {}

TrayIcon::~TrayIcon() = default;

void TrayIcon::Show(const PicturePtr &picture, const QString &tip) {
  if (icon_ || !qobject_cast<QApplication *>(QCoreApplication::instance()) ||
      !QSystemTrayIcon::isSystemTrayAvailable())
    return;
  icon_ = std::make_unique<QSystemTrayIcon>(iconOf(picture));
  icon_->setToolTip(tip.left(63));
  QObject::connect(icon_.get(), &QSystemTrayIcon::activated,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     for (const Event event : TrayEvents(reason))
                       raise_(event);
                   });
  icon_->show();
}

void TrayIcon::Remove() {
  icon_.reset();
}

} // namespace kestrum::tellurix
