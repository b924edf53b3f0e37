#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kestrum {

// Files hold text one byte per character in Windows-1252; the program works in
// Unicode. The five bytes that 1252 leaves undefined map to the C1 control
// characters of the same value, so every byte survives a round trip.
QString fromAnsi(QByteArrayView bytes);

// A character that Windows-1252 cannot hold becomes '?' (one '?' per
// character, also for characters outside the Basic Multilingual Plane).
QByteArray toAnsi(const QString &text);

} // namespace kestrum
