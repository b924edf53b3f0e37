#include "TabStrip.h"

#include <QGridLayout>
#include <QToolButton>

namespace kestrum {

TabStrip::TabStrip(int tabsPerRow, QWidget *parent)
    : QWidget(parent), tabsPerRow_(tabsPerRow), layout_(new QGridLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(2);
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
  layout_->addWidget(tab, index / tabsPerRow_, index % tabsPerRow_);
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
