#include "ProductLogo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kestrum {

QString VersionText() {
  return QStringLiteral("Version %1.%2.%3")
      .arg(kVersionMajor)
      .arg(kVersionMinor)
      .arg(kVersionRevision);
}

QPixmap ProductLogo(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  QLinearGradient sky(0, 0, 0, 64);
  sky.setColorAt(0, QColor(40, 90, 160));
  sky.setColorAt(1, QColor(20, 50, 100));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  p.setBrush(QColor(240, 200, 80));
  const int heights[] = {14, 22, 18, 32, 40};
  for (int i = 0; i < 5; ++i)
    p.drawRect(QRectF(10 + i * 9.5, 54 - heights[i], 7, heights[i]));
  QPainterPath curve;
  curve.moveTo(8, 38);
  curve.cubicTo(22, 34, 34, 20, 56, 10);
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  return pixmap;
}

QPixmap BulbImage(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  p.setPen(QPen(QColor(150, 110, 0), 1.2));
  p.setBrush(QColor(255, 225, 90));
  p.drawEllipse(QRectF(7, 2, 18, 18));
  p.setBrush(QColor(170, 170, 170));
  p.drawRect(QRectF(12, 19, 8, 8));
  p.drawLine(QPointF(12, 22), QPointF(20, 22));
  p.drawLine(QPointF(12, 25), QPointF(20, 25));
  return pixmap;
}

} // namespace kestrum
