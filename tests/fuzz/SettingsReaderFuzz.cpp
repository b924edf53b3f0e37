// Feeds arbitrary bytes to the settings reader: it either accepts them or
// rejects them whole, and never crashes.
#include "shell/Settings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  kestrum::ApplicationSettings settings;
  if (!kestrum::DecodeSettings(bytes, settings).ok() &&
      !(settings == kestrum::ApplicationSettings{}))
    std::abort(); // a rejected file must leave the defaults
  return 0;
}
