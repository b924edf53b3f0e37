#pragma once

#include <QButtonGroup>
#include <QWidget>

class QGridLayout;

namespace kestrum {

// A tab strip whose tabs wrap into several rows, so that all 19 page tabs
// stay visible in a window of ordinary width. Exactly one tab is selected.
class TabStrip : public QWidget {
  Q_OBJECT
public:
  explicit TabStrip(int tabsPerRow, QWidget *parent = nullptr);

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
  int tabsPerRow_;
  QGridLayout *layout_;
  QButtonGroup group_;
};

} // namespace kestrum
