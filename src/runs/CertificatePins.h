#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace kestrum {

// The FTPS server certificates the user accepted although no authority of
// the system vouches for them (self-signed servers): one line per server,
//   HOST:PORT FINGERPRINT
// where FINGERPRINT is the SHA-256 of the certificate (DER) as 32 upper-case
// hex pairs joined by ':', the form `openssl x509 -fingerprint -sha256`
// prints. Blank lines and lines starting with '#' are comments; lines of any
// other form are ignored when read and kept when the file is rewritten.

// The file's name in the program folder.
inline constexpr const char *kCertificatePinFileName = "ftps-certificates.txt";

// The fingerprint of a certificate given in DER form.
QString certificateFingerprint(const QByteArray &der);

// The fingerprint pinned for hostAndPort in the file's bytes, or an empty
// string. Any bytes are accepted.
QString pinnedCertificate(const QByteArray &fileBytes, const QString &hostAndPort);
// The file's bytes with hostAndPort pinned to fingerprint (its earlier lines
// replaced, every other line kept).
QByteArray withPinnedCertificate(const QByteArray &fileBytes, const QString &hostAndPort,
                                 const QString &fingerprint);

// The same on the file itself. A missing file pins nothing.
Result readPinnedCertificate(const QString &path, const QString &hostAndPort, QString &fingerprint);
Result pinCertificate(const QString &path, const QString &hostAndPort, const QString &fingerprint);

} // namespace kestrum
