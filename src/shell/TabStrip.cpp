#include "TabStrip.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace kestrum {

TabStrip::TabStrip(QList<int> rowLengths, QWidget *parent)
    : QWidget(parent), rowLengths_(std::move(rowLengths)), rows_(new QVBoxLayout(this)) {
  rows_->setContentsMargins(0, 0, 0, 0);
  rows_->setSpacing(2);
  // The selected tab stands out like the front tab of a strip.
  setStyleSheet(QStringLiteral("QToolButton { padding: 3px 8px; }"
                               "QToolButton:checked { background: palette(base);"
                               " border: 1px solid palette(highlight); }"));
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
  tab->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  tab->setFocusPolicy(Qt::TabFocus);
  group_.addButton(tab, index);
  int row = 0;
  for (int before = rowLengths_.value(0, index + 1);
       index >= before && row + 1 < rowLengths_.size(); before += rowLengths_[++row]) {
  }
  while (rowLayouts_.size() <= row) {
    rowLayouts_ << new QHBoxLayout;
    rowLayouts_.last()->setSpacing(2);
    rows_->addLayout(rowLayouts_.last());
  }
  rowLayouts_[row]->addWidget(tab);
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

} // namespace kestrum
