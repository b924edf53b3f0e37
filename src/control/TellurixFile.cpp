// The control's file-information members: facts about the file named by
// FileFilename, looked at afresh on every get.

#include "FileFacts.h"
#include "Tellurix.h"

#include <QFileInfo>

namespace kestrum::tellurix {

namespace {

int attributeBit(Member id) {
  switch (id) {
  case Member::FileAttrReadOnly: return FileAttribute::ReadOnly;
  case Member::FileAttrHidden: return FileAttribute::Hidden;
  case Member::FileAttrSystem: return FileAttribute::System;
  case Member::FileAttrDirectory: return FileAttribute::Directory;
  default: return FileAttribute::Archive;
  }
}

constexpr Member kAttributeMembers[] = {Member::FileAttrReadOnly, Member::FileAttrHidden,
                                        Member::FileAttrSystem, Member::FileAttrDirectory,
                                        Member::FileAttrArchive};

} // namespace

int Tellurix::getFile(Member id, Variant &out) {
  const QString name = cache(Member::FileFilename).toString();
  switch (id) {
  case Member::FileType: out = FileTypeName(name); return 0;
  case Member::FileShortName:
    // No 8.3 names here: the short form is the canonical path.
    out = FileExists(name) ? QFileInfo(name).canonicalFilePath() : QStringLiteral("-1");
    return 0;
  case Member::FileIconLarge:
    out = FileIcon(name, 32, cache(Member::FileIconBackColor).toColor());
    return 0;
  case Member::FileIconSmall:
    out = FileIcon(name, 16, cache(Member::FileIconBackColor).toColor());
    return 0;
  case Member::FileIsWindows: {
    int32_t answer = 0;
    return FileIsWindows(answer);
  }
  case Member::FileIs32Bit: return FileIs32Bit();
  default:
    // An attribute: the file's bit, or the cached value when the file
    // cannot be read.
    if (const std::optional<int> attributes = FileAttributes(name))
      out = (*attributes & attributeBit(id)) != 0;
    return 0;
  }
}

void Tellurix::assignAttribute(const MemberDef &def, bool value) {
  int mask = value ? attributeBit(def.id) : 0;
  for (const Member other : kAttributeMembers) {
    if (other == def.id)
      continue;
    getFile(other, cache(other));
    if (cache(other).toBool())
      mask |= attributeBit(other);
  }
  SetFileAttributes(cache(Member::FileFilename).toString(), mask); // a failure is ignored
  cache(def.id) = value;
  propertyChanged(def);
}

// A file that cannot be opened fails; what cannot be read reads as blanks.
int Tellurix::FileIsWindows(int32_t &answer) {
  const QString name = cache(Member::FileFilename).toString();
  answer = BinaryAdv::Error;
  if (FileExists(name)) {
    QByteArray signature;
    if (const int error = WindowsSignature(name, signature))
      return error;
    answer = signature == "NE" || signature == "PE" ? BinaryAdv::True : BinaryAdv::False;
  }
  cache(Member::FileIsWindows) = answer;
  return 0;
}

int Tellurix::FileIs32Bit() {
  const QString name = cache(Member::FileFilename).toString();
  int32_t windows = 0;
  if (const int error = FileIsWindows(windows))
    return error;
  if (windows != BinaryAdv::True || !FileExists(name)) {
    cache(Member::FileIs32Bit) = BinaryAdv::Error;
    return 0;
  }
  QByteArray signature;
  if (const int error = WindowsSignature(name, signature))
    return error;
  if (signature == "PE")
    cache(Member::FileIs32Bit) = BinaryAdv::True;
  else if (signature == "NE")
    cache(Member::FileIs32Bit) = BinaryAdv::False;
  return 0;
}

} // namespace kestrum::tellurix
