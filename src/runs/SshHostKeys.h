#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace kestrum {

// An SSH server's host key as the server sent it (the key blob), and the
// forms in which the user meets it: its type ("ssh-ed25519"), its
// fingerprint as OpenSSH shows it ("SHA256:" and the unpadded base64 of the
// blob's SHA-256), and its line in a known_hosts file.
struct SshHostKey {
  QByteArray blob;

  QString type() const; // "unknown" when the blob does not name one
  QString fingerprint() const;
  // "HOST TYPE BASE64", the host written as OpenSSH writes it: plain for
  // port 22, "[HOST]:PORT" for any other.
  QByteArray knownHostsLine(const QString &host, int port) const;
};

// The known_hosts file of the user ($HOME/.ssh/known_hosts).
QString userKnownHostsFile();

// Adds a line at the end of a known_hosts file, creating the file (owner
// only) and its folder (owner only) when missing; earlier lines stay as
// they are.
Result appendKnownHost(const QString &path, const QByteArray &line);

} // namespace kestrum
