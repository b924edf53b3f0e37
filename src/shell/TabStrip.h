#pragma once

#include <QButtonGroup>
#include <QWidget>

class QHBoxLayout;
class QVBoxLayout;

namespace kestrum {

// A tab strip whose tabs wrap into several rows, so that all 19 page tabs
// stay visible in a window of ordinary width. Exactly one tab is selected.
class TabStrip : public QWidget {
  Q_OBJECT
public:
  // rowLengths: how many tabs each row holds, top row first.
  explicit TabStrip(QList<int> rowLengths, QWidget *parent = nullptr);

  int addTab(const QString &caption, const QString &toolTip);
  int count() const { return int(group_.buttons().size()); }
  int currentIndex() const { return group_.checkedId(); }
  void setCurrentIndex(int index);
  QString tabText(int index) const;
  QString tabToolTip(int index) const;
  QAbstractButton *tabButton(int index) const { return group_.button(index); }

signals:
  void currentChanged(int index);

private:
  QList<int> rowLengths_;
  QVBoxLayout *rows_;
  QList<QHBoxLayout *> rowLayouts_;
  QButtonGroup group_;
};

} // namespace kestrum
