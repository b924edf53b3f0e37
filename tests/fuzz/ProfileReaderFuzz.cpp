// Feeds arbitrary bytes to the profile reader. Reading must never crash or
// allocate beyond the format's limits; whatever was read must encode again
// without overflow, and its dump form must set back to the same settings
// (except switches holding a value other than -1 and 0).
#include "profile/ProfileFile.h"
#include "profile/ProfileText.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

static bool isSwitchValue(int16_t value) {
  return value == -1 || value == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  kestrum::Profile profile;
  kestrum::ReadProfileRecord(buffer, profile);

  QString overflow;
  if (kestrum::encodeProfile(profile, &overflow).size() < 6494 || !overflow.isEmpty())
    std::abort();

  kestrum::Profile rebuilt;
  for (const QString &line : kestrum::DumpProfile(profile)) {
    if (kestrum::SetProfileValue(rebuilt, line).ok())
      continue;
    const kestrum::FieldInfo *field =
        kestrum::findProfileField(line.section(QLatin1Char('='), 0, 0).toStdString());
    if (!field || field->type != kestrum::FieldType::Bool16 ||
        isSwitchValue(field->i16(profile.Settings)))
      std::abort();
  }
  // A switch stored as another number dumps as that number, which set
  // refuses (or takes as True for 1): those are not compared.
  for (const kestrum::FieldInfo &field : kestrum::profileFields())
    if (field.type == kestrum::FieldType::Bool16 && !isSwitchValue(field.i16(profile.Settings)))
      field.i16(rebuilt.Settings) = field.i16(profile.Settings);
  if (!(rebuilt.Settings == profile.Settings)) {
    for (const QString &line : kestrum::DumpProfile(rebuilt))
      if (!kestrum::DumpProfile(profile).contains(line))
        std::fprintf(stderr, "differs after set: %s\n", qUtf8Printable(line.left(200)));
    std::abort();
  }
  return 0;
}
