#pragma once

#include "platform/Version.h"

#include <QPixmap>
#include <QString>

namespace kestrum {

// "Version 2.0.0": the program's version (platform/Version.h) as the splash
// window and the about box show it.
QString VersionText();

// The product logo: a bar chart under a rising curve, drawn at size x size.
QPixmap ProductLogo(int size);

// The light bulb of the tip of the day.
QPixmap BulbImage(int size);

} // namespace kestrum
