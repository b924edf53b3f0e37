// Feeds arbitrary bytes to the analog.cfg reader and the import. They must
// never crash; every line is accounted for (mapped, kept or ignored), and
// the imported profile must write a configuration again.
#include "platform/Ansi.h"
#include "profile/ConfigImport.h"
#include "profile/ConfigWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  kestrum::CommandFile file;
  // Includes are looked up beside a file that does not exist.
  kestrum::ReadCommandText(kestrum::fromAnsi(bytes), QStringLiteral("/nonexistent/fuzz.cfg"),
                           file);
  kestrum::Profile profile = kestrum::ImportStart(kestrum::Profile{});
  kestrum::ImportSummary summary;
  kestrum::ApplyCommandFile(file, profile, summary);
  if (summary.mapped + summary.kept + summary.ignored - file.blankLines != file.lines.size())
    std::abort();
  if (kestrum::ConfigLines(profile, {}).isEmpty())
    std::abort();
  return 0;
}
