#pragma once

#include "Profile.h"
#include "platform/Result.h"

#include <QIODevice>

namespace kestrum {

// Reads a profile file into profile: every string is emptied, then the record
// is read from the first byte. A missing or short file is no failure: what it
// lacks reads as empty, 0 or false (a field cut in two by the end reads as
// empty or 0); bytes after the record are ignored. A file that cannot be
// opened, or that is not a regular file (a folder, device, FIFO), leaves the profile untouched and
// returns the error. complete, when given, tells whether the file held the whole record.
Result ReadProfileFile(const QString &path, Profile &profile, bool *complete = nullptr);

// Reads the record from a device positioned at its first byte (the part of
// ReadProfileFile after the file is open).
Result ReadProfileRecord(QIODevice &device, Profile &profile, bool *complete = nullptr);

enum class ProfileWrite { Replace, CreateOnly };

// Writes the whole record from the file's first byte. Bytes that a longer old
// file held behind the new record stay where they were. The write is atomic,
// and nothing is written when a string is longer than 65535 bytes. A new
// file is readable by its owner only. CreateOnly refuses an existing path.
Result WriteProfileFile(const QString &path, const Profile &profile,
                        ProfileWrite mode = ProfileWrite::Replace);

// The record's bytes as the file holds them (without any old trailing bytes).
// Empty overflowError on success.
QByteArray encodeProfile(const Profile &profile, QString *overflowError = nullptr);

} // namespace kestrum
