#include "ProfileFile.h"

#include "platform/BinaryRecord.h"
#include "platform/FileIO.h"

#include <QFile>

namespace kestrum {
namespace {

void readSettings(BinaryReader &in, ProfileSettings &settings) {
  for (const FieldInfo &field : profileFields()) {
    switch (field.type) {
    case FieldType::String: field.string(settings) = in.readString(); break;
    case FieldType::I32: field.i32(settings) = in.readI32(); break;
    case FieldType::Bool16:
    case FieldType::I16: field.i16(settings) = in.readI16(); break;
    }
  }
}

void writeSettings(BinaryWriter &out, const ProfileSettings &settings) {
  for (const FieldInfo &field : profileFields()) {
    switch (field.type) {
    case FieldType::String: out.writeString(field.string(settings), field.name.data()); break;
    case FieldType::I32: out.writeI32(field.i32(settings)); break;
    case FieldType::Bool16:
    case FieldType::I16: out.writeI16(field.i16(settings)); break;
    }
  }
}

} // namespace

Result ReadProfileRecord(QIODevice &device, Profile &profile, bool *complete) {
  // Reading happens in a fresh record so that "every string emptied, then
  // read" also resets the fields a short file does not reach.
  Profile read;
  BinaryReader in(device);
  for (ListEntry &entry : read.Aliases)
    entry.Text = in.readString();
  for (ListEntry &entry : read.Excludes)
    entry.Text = in.readString();
  for (QString &text : read.ReservedList)
    text = in.readString();
  readSettings(in, read.Settings);
  profile = std::move(read); // on a device error: what was read up to it
  if (complete)
    *complete = !in.truncated() && !in.failed();
  if (in.failed())
    return Result::failure(device.errorString());
  return Result::success();
}

Result ReadProfileFile(const QString &path, Profile &profile, bool *complete) {
  // Checked before opening: a FIFO would block and a device never end.
  if (Result r = checkRegularFile(path, true); !r.ok())
    return r;
  QFile file(path);
  if (!file.exists()) { // reads as a zero-byte file
    profile = Profile{};
    if (complete)
      *complete = false;
    return Result::success();
  }
  if (!file.open(QIODevice::ReadOnly))
    return Result::failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
  if (Result r = ReadProfileRecord(file, profile, complete); !r.ok())
    return Result::failure(QStringLiteral("Cannot read %1: %2").arg(path, r.error));
  return Result::success();
}

QByteArray encodeProfile(const Profile &profile, QString *overflowError) {
  BinaryWriter out;
  for (const ListEntry &entry : profile.Aliases)
    out.writeString(entry.Text, "Aliases");
  for (const ListEntry &entry : profile.Excludes)
    out.writeString(entry.Text, "Excludes");
  for (const QString &text : profile.ReservedList)
    out.writeString(text, "ReservedList");
  writeSettings(out, profile.Settings);
  if (overflowError)
    *overflowError = out.overflowError();
  return out.bytes();
}

Result WriteProfileFile(const QString &path, const Profile &profile, ProfileWrite mode) {
  QString overflow;
  const QByteArray bytes = encodeProfile(profile, &overflow);
  if (!overflow.isEmpty())
    return Result::failure(overflow);
  // A profile may hold the FTP password: a new file is its owner's only.
  WriteOptions options;
  options.keepOldTail = true;
  options.ownerOnlyIfNew = true;
  options.mustNotExist = mode == ProfileWrite::CreateOnly;
  return writeFileAtomically(path, bytes, options);
}

} // namespace kestrum
