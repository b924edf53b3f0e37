#pragma once

#include <QPixmap>
#include <QString>

namespace kestrum {

// The program's version, shown by the splash window and the about box.
constexpr int kVersionMajor = 2;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 0;

// "Version 2.0.0".
QString VersionText();

// The product logo: a bar chart under a rising curve, drawn at size x size.
QPixmap ProductLogo(int size);

// The light bulb of the tip of the day.
QPixmap BulbImage(int size);

} // namespace kestrum
