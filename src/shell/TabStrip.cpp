#include "TabStrip.h"

#include <QLayout>
#include <QStyle>
#include <QToolButton>

namespace kestrum {

// Lays the tabs out left to right, starting a new row where the next tab
// does not fit; each row is stretched to the full width.
class TabRowsLayout : public QLayout {
public:
  explicit TabRowsLayout(QWidget *parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(2);
  }
  ~TabRowsLayout() override {
    while (QLayoutItem *item = takeAt(0))
      delete item;
  }

  void addItem(QLayoutItem *item) override { items_ << item; }
  int count() const override { return int(items_.size()); }
  QLayoutItem *itemAt(int index) const override { return items_.value(index); }
  QLayoutItem *takeAt(int index) override {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
  }
  Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return arrange(QRect(0, 0, width, 0), false); }
  QSize sizeHint() const override {
    int width = 0;
    for (const QLayoutItem *item : items_)
      width += item->sizeHint().width() + spacing();
    return {width, heightForWidth(width)};
  }
  // As narrow as the widest tab: the rest wraps. The height of the rows at
  // the strip's width is its minimum height (set on every resize).
  QSize minimumSize() const override {
    int width = 0;
    for (const QLayoutItem *item : items_)
      width = std::max(width, item->sizeHint().width());
    return {width, items_.isEmpty() ? 0 : items_.first()->sizeHint().height()};
  }
  void setGeometry(const QRect &rect) override {
    QLayout::setGeometry(rect);
    arrange(rect, true);
  }

  // The tabs in as few rows as fit width, the rows about equally long (so
  // the last row does not hold a lone tab).
  QList<QList<QLayoutItem *>> rowsFor(int width) const {
    const int rowCount = int(packed(width).size());
    int total = 0;
    for (const QLayoutItem *item : items_)
      total += item->sizeHint().width() + spacing();
    for (int limit = total / std::max(rowCount, 1); limit < width; limit += 8) {
      QList<QList<QLayoutItem *>> rows = packed(limit);
      if (rows.size() <= rowCount)
        return rows;
    }
    return packed(width);
  }

private:
  // As many tabs per row as fit width, left to right.
  QList<QList<QLayoutItem *>> packed(int width) const {
    QList<QList<QLayoutItem *>> rows;
    int used = 0;
    for (QLayoutItem *item : items_) {
      const int w = item->sizeHint().width();
      if (rows.isEmpty() || (used > 0 && used + spacing() + w > width)) {
        rows.append(QList<QLayoutItem *>());
        used = 0;
      }
      used += (used > 0 ? spacing() : 0) + w;
      rows.last() << item;
    }
    return rows;
  }

  // Places the tabs when apply is set; answers the rows' total height.
  int arrange(const QRect &rect, bool apply) const {
    const QList<QList<QLayoutItem *>> rows = rowsFor(rect.width());
    int y = rect.y();
    for (const QList<QLayoutItem *> &row : rows) {
      int natural = 0, height = 0;
      for (const QLayoutItem *item : row) {
        natural += item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
      }
      if (apply) {
        const int spare = rect.width() - natural - spacing() * int(row.size() - 1);
        int x = rect.x();
        int given = 0;
        for (int i = 0; i < row.size(); ++i) {
          // The spare width is shared in proportion to the tabs' widths.
          const int share = int(qint64(spare) * (given + row[i]->sizeHint().width()) / natural) -
                            int(qint64(spare) * given / natural);
          given += row[i]->sizeHint().width();
          const int w = row[i]->sizeHint().width() + share;
          row[i]->setGeometry(QRect(x, y, w, height));
          x += w + spacing();
        }
      }
      y += height + spacing();
    }
    return rows.isEmpty() ? 0 : y - rect.y() - spacing();
  }

  QList<QLayoutItem *> items_;
};

TabStrip::TabStrip(QWidget *parent) : QWidget(parent), rows_(new TabRowsLayout(this)) {
  // The selected tab is filled with the highlight colour and bold; the
  // keyboard focus is a dotted frame of its own, so the two never look
  // alike.
  setStyleSheet(QStringLiteral(
      "QToolButton { padding: 3px 6px; border: 1px solid palette(mid); border-radius: 3px;"
      " background: palette(button); }"
      "QToolButton:hover { background: palette(light); }"
      "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text);"
      " border: 1px solid palette(dark); font-weight: bold; }"
      "QToolButton:focus { border: 2px dotted palette(text); }"
      "QToolButton:checked:focus { border: 2px dotted palette(highlighted-text); }"));
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  group_.setExclusive(true);
  connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked)
      emit currentChanged(id);
  });
}

int TabStrip::addTab(const QString &caption, const QString &toolTip) {
  const int index = count();
  auto *tab = new QToolButton(this);
  tab->setText(caption);
  tab->setToolTip(toolTip);
  tab->setCheckable(true);
  tab->setAutoRaise(false);
  tab->setFocusPolicy(Qt::TabFocus);
  // Bold when selected: the tab is as wide as its bold caption always, so
  // the rows do not change when the selection does.
  QFont bold = tab->font();
  bold.setBold(true);
  tab->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(caption) + 16);
  tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  group_.addButton(tab, index);
  rows_->addWidget(tab);
  if (index == 0)
    tab->setChecked(true);
  return index;
}

void TabStrip::setCurrentIndex(int index) {
  if (QAbstractButton *tab = group_.button(index))
    tab->setChecked(true);
}

QString TabStrip::tabText(int index) const {
  const QAbstractButton *tab = group_.button(index);
  return tab ? tab->text() : QString();
}

QString TabStrip::tabToolTip(int index) const {
  const QAbstractButton *tab = group_.button(index);
  return tab ? tab->toolTip() : QString();
}

void TabStrip::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  // The rows need this much height at this width; the window makes room.
  const int height = rows_->heightForWidth(width());
  if (height != minimumHeight())
    setMinimumHeight(height);
}

int TabStrip::rowCount() const {
  return int(rows_->rowsFor(width()).size());
}

} // namespace kestrum
