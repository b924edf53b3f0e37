#include "CertificatePins.h"

#include "platform/FileIO.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QList>

namespace kestrum {

namespace {

constexpr qint64 kMaxPinFileBytes = 1 << 20;

bool isFingerprint(const QByteArray &text) {
  if (text.size() != 32 * 3 - 1)
    return false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i % 3 == 2 ? c != ':' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
      return false;
  }
  return true;
}

// A line's server and fingerprint, when it is a pin line.
bool parsePin(QByteArray line, QByteArray &server, QByteArray &fingerprint) {
  line = line.trimmed();
  if (line.isEmpty() || line.startsWith('#'))
    return false;
  const QList<QByteArray> fields = line.simplified().split(' ');
  if (fields.size() != 2 || !isFingerprint(fields[1].toUpper()))
    return false;
  server = fields[0].toLower();
  fingerprint = fields[1].toUpper();
  return true;
}

QByteArray key(const QString &hostAndPort) {
  return hostAndPort.toUtf8().toLower();
}

} // namespace

QString certificateFingerprint(const QByteArray &der) {
  return QString::fromLatin1(
      QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':').toUpper());
}

QString pinnedCertificate(const QByteArray &fileBytes, const QString &hostAndPort) {
  QString pinned;
  QByteArray server, fingerprint;
  for (const QByteArray &line : fileBytes.split('\n'))
    if (parsePin(line, server, fingerprint) && server == key(hostAndPort))
      pinned = QString::fromLatin1(fingerprint);
  return pinned;
}

QByteArray withPinnedCertificate(const QByteArray &fileBytes, const QString &hostAndPort,
                                 const QString &fingerprint) {
  QByteArray out;
  if (fileBytes.isEmpty())
    out = "# FTPS server certificates accepted with \"kestrum-cli fetch --accept-certificate\".\n"
          "# HOST:PORT SHA-256-FINGERPRINT\n";
  QByteArray server, pinned;
  for (const QByteArray &line : fileBytes.split('\n')) {
    if (parsePin(line, server, pinned) && server == key(hostAndPort))
      continue;
    out += line + '\n';
  }
  while (out.endsWith("\n\n"))
    out.chop(1);
  return out + key(hostAndPort) + ' ' + fingerprint.toLatin1() + '\n';
}

Result readPinnedCertificate(const QString &path, const QString &hostAndPort,
                             QString &fingerprint) {
  fingerprint.clear();
  const QFileInfo info(path);
  if (!info.exists() && !info.isSymLink())
    return Result::success();
  QByteArray bytes;
  if (Result r = readSmallFile(path, kMaxPinFileBytes, bytes); !r.ok())
    return r;
  fingerprint = pinnedCertificate(bytes, hostAndPort);
  return Result::success();
}

Result pinCertificate(const QString &path, const QString &hostAndPort, const QString &fingerprint) {
  QByteArray bytes;
  const QFileInfo info(path);
  if (info.exists() || info.isSymLink())
    if (Result r = readSmallFile(path, kMaxPinFileBytes, bytes); !r.ok())
      return r;
  return writeFileAtomically(path, withPinnedCertificate(bytes, hostAndPort, fingerprint));
}

} // namespace kestrum
