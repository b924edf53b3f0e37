#pragma once

#include "ControlRegistry.h"
#include "PageTable.h"

#include <QColor>
#include <QList>
#include <QPalette>
#include <QWidget>

namespace kestrum {

// Builds the widgets of one tab page from its table entry: labels, controls,
// hints, frames. Every control is registered under its name and index;
// labels and hints become members of the label array DummyL, in the order
// they are built. Returns the page's focusable controls in tab order.
QList<QWidget *> BuildPage(const PageDef &page, QWidget *container, ControlRegistry &controls);

// The width of the label column on every page: the widest left-hand label
// of all pages in the application font, plus a gap.
int PageLabelWidth();

// The colour of the hint texts: the palette's placeholder colour, darkened
// towards the text colour until it has a contrast of at least 4.5:1 with the
// window background.
QColor HintTextColor(const QPalette &palette);

// The contrast ratio of two colours (1 to 21), from their luminance.
double ContrastRatio(const QColor &a, const QColor &b);

} // namespace kestrum
