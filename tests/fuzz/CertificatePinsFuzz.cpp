// Feeds arbitrary bytes to the certificate pin file reader and writer: a
// pin read back is always a well-formed fingerprint, pinning always makes
// the server's pin readable, and nothing crashes. Also reads arbitrary SSH
// key blobs as host keys.
#include "runs/CertificatePins.h"
#include "runs/SshHostKeys.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const QString server = QStringLiteral("host:21");
  const QString read = kestrum::pinnedCertificate(bytes, server);
  if (!read.isEmpty() && read.size() != 95)
    std::abort();
  const QString pin = kestrum::certificateFingerprint(bytes);
  if (kestrum::pinnedCertificate(kestrum::withPinnedCertificate(bytes, server, pin), server) != pin)
    std::abort(); // a written pin must read back, whatever the file held before
  const kestrum::SshHostKey key{bytes};
  if (key.type().isEmpty() || !key.fingerprint().startsWith(QLatin1String("SHA256:")))
    std::abort();
  return 0;
}
