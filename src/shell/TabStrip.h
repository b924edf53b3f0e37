#pragma once

#include <QButtonGroup>
#include <QWidget>

namespace kestrum {

class TabRowsLayout;

// A tab strip whose tabs wrap into as many rows as the width needs, so that
// all 19 page tabs stay visible in a window of ordinary width at any font
// size. Exactly one tab is selected; it is drawn filled in the highlight
// colour and in bold, unlike the focus frame of the tab that has the
// keyboard focus.
class TabStrip : public QWidget {
  Q_OBJECT
public:
  explicit TabStrip(QWidget *parent = nullptr);

  int addTab(const QString &caption, const QString &toolTip);
  int count() const { return int(group_.buttons().size()); }
  int currentIndex() const { return group_.checkedId(); }
  void setCurrentIndex(int index);
  QString tabText(int index) const;
  QString tabToolTip(int index) const;
  QAbstractButton *tabButton(int index) const { return group_.button(index); }
  // The number of rows the tabs take at the strip's current width.
  int rowCount() const;

signals:
  void currentChanged(int index);

protected:
  void resizeEvent(QResizeEvent *event) override;

private:
  TabRowsLayout *rows_;
  QButtonGroup group_;
};

} // namespace kestrum
