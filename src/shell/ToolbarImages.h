#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

class QStyle;

namespace kestrum {

// The toolbar's image list by key: one image per button key, and "ConYes"
// (online) and "ConNo" (offline) for the connection button.
QHash<QString, QIcon> ToolbarImageList(const QStyle *style);

} // namespace kestrum
