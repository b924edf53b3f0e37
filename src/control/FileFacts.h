#pragma once

// Facts about one file for the control's file-information members: DOS-style
// attributes, the type name, the canonical path, the shell icon and the
// executable signature.
//
// Attributes on this platform: read-only is the owner's write bit cleared;
// directory is the file's kind; hidden, system and archive are kept in the
// extended attribute user.DOSATTRIB as Samba keeps them (hidden also for a
// name that starts with '.').

#include "platform/AutomationTypes.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kestrum::tellurix {

namespace FileAttribute {
constexpr int ReadOnly = 1;
constexpr int Hidden = 2;
constexpr int System = 4;
constexpr int Directory = 16;
constexpr int Archive = 32;
} // namespace FileAttribute

// The answers of FileIsWindows and FileIs32Bit.
namespace BinaryAdv {
constexpr int32_t Error = -1;
constexpr int32_t False = 0;
constexpr int32_t True = 1;
} // namespace BinaryAdv

// A file in the sense of the file members: a name that is not empty and
// names a file that is no directory.
bool FileExists(const QString &name);

// The attribute mask of a file or directory; nothing when it cannot be read.
std::optional<int> FileAttributes(const QString &name);
// Sets the attributes to mask. False when the file is missing, the directory
// bit does not match the file's kind, or the system refuses a change.
bool SetFileAttributes(const QString &name, int mask);

// The description of the file's type ("plain text document"); empty for a
// missing file.
QString FileTypeName(const QString &name);

// The two bytes at the offset that the 32-bit little-endian value at byte 60
// names. Bytes that cannot be read are blanks. Answers 75 (path/file access
// error) when the file cannot be opened, else 0.
int WindowsSignature(const QString &name, QByteArray &signature);

// A size x size picture of the file's icon on back (only back for a missing
// file, or when the host has no graphical application to draw icons with).
PicturePtr FileIcon(const QString &name, int size, OleColor back);

// The RGB colour (0xFFRRGGBB) of an OLE colour; system colours by their
// Windows defaults.
uint32_t OleColorToArgb(OleColor color);

} // namespace kestrum::tellurix
