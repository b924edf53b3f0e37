#include "ToolbarImages.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace kestrum {
namespace {

// A plug with a coloured lamp: green when connected, red with a gap when not.
QIcon connectionImage(bool online) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
  if (online) {
    p.drawLine(3, 16, 29, 16);
  } else {
    p.drawLine(3, 16, 11, 16);
    p.drawLine(21, 16, 29, 16);
  }
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  p.setBrush(online ? QColor(40, 170, 60) : QColor(210, 50, 40));
  p.drawEllipse(QPointF(16, 16), 7, 7);
  return QIcon(pixmap);
}

// A play triangle with a small mark in the corner, for the run variants.
QIcon runImage(QColor mark) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 90, 30), 1.5));
  p.setBrush(QColor(50, 160, 70));
  const QPointF triangle[] = {{6, 5}, {24, 16}, {6, 27}};
  p.drawPolygon(triangle, 3);
  if (mark.isValid()) {
    p.setPen(QPen(mark.darker(), 1.5));
    p.setBrush(mark);
    p.drawEllipse(QPointF(25, 25), 5.5, 5.5);
  }
  return QIcon(pixmap);
}

} // namespace

QHash<QString, QIcon> ToolbarImageList(const QStyle *style) {
  QHash<QString, QIcon> images;
  images.insert(QStringLiteral("New"), style->standardIcon(QStyle::SP_FileIcon));
  images.insert(QStringLiteral("Open"), style->standardIcon(QStyle::SP_DialogOpenButton));
  images.insert(QStringLiteral("Save"), style->standardIcon(QStyle::SP_DialogSaveButton));
  images.insert(QStringLiteral("Run"), runImage(QColor()));
  images.insert(QStringLiteral("RunAndSee"), runImage(QColor(70, 130, 220)));
  images.insert(QStringLiteral("RunAndSettings"), runImage(QColor(230, 170, 30)));
  images.insert(QStringLiteral("See"), style->standardIcon(QStyle::SP_FileDialogContentsView));
  images.insert(QStringLiteral("ConYes"), connectionImage(true));
  images.insert(QStringLiteral("ConNo"), connectionImage(false));
  return images;
}

} // namespace kestrum
