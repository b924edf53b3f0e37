#pragma once

#include "Profile.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kestrum {

// The readable form of a profile: every settings field as Name=value in file
// order, then Aliases[i]= and Excludes[i]= for the used list entries. String
// values show the stored bytes C-escaped (\\ \r \n \t, other control bytes
// and bytes >= 0x80 as \xNN); bool16 as True/False (any other value as its
// number); numbers in decimal.
QStringList DumpProfile(const Profile &profile);

QString EscapeStoredBytes(const QByteArray &bytes);
// The inverse of EscapeStoredBytes; an unknown or cut escape is an error.
Result UnescapeStoredBytes(const QString &text, QByteArray &bytes);

// Sets one field from "Name=value" (the dump form; numbers by the window's
// leading-number rule; Booleans True/False or a number). Unknown names and
// bad escapes are errors that leave the profile unchanged.
Result SetProfileValue(Profile &profile, const QString &assignment);

// What every save writes whatever the record held: Signature "Kestrum" and
// FormatVersion 20000.
void StampSignatureAndVersion(Profile &profile);

} // namespace kestrum
