#pragma once

#include "ControlRegistry.h"
#include "PageTable.h"

#include <QList>
#include <QWidget>

namespace kestrum {

// Builds the widgets of one tab page from its table entry: labels, controls,
// hints, frames. Every control is registered under its name and index;
// labels and hints become members of the label array DummyL, in the order
// they are built. Returns the page's focusable controls in tab order.
QList<QWidget *> BuildPage(const PageDef &page, QWidget *container, ControlRegistry &controls);

} // namespace kestrum
