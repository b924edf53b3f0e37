// Feeds arbitrary bytes to the profile reader. Reading must never crash or
// allocate beyond the format's limits; whatever was read must encode again
// without overflow, and its dump form must set back to the same settings.
#include "profile/ProfileFile.h"
#include "profile/ProfileText.h"

#include <QBuffer>

#include <cstdlib>

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
  for (const QString &line : kestrum::DumpProfile(profile))
    if (!kestrum::SetProfileValue(rebuilt, line).ok())
      std::abort();
  if (!(rebuilt.Settings == profile.Settings))
    std::abort();
  return 0;
}
