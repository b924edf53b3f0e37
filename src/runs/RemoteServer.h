#pragma once

#include <QString>

namespace kestrum {

// How the log server is reached; chosen by the server field's prefix so
// that profiles keep their format.
enum class TransferProtocol {
  Ftp,     // "host" or "ftp://host"
  Ftps,    // "ftps://host": FTP with explicit TLS (AUTH TLS), TLS required
  Sftp,    // "sftp://host"
  Unknown, // any other "scheme://"
};

struct RemoteServer {
  TransferProtocol protocol = TransferProtocol::Ftp;
  QString host; // without prefix, blanks or trailing '/'

  // The port the profile's port text means for this protocol, or 0 when
  // the text is no port number (1 to 65535). An empty text means the
  // protocol's usual port, and so does the profile's default "21" for SFTP.
  int port(const QString &portText) const;
  // "host:port", with an IPv6 address in brackets.
  QString hostAndPort(int port) const;
};

RemoteServer parseRemoteServer(const QString &serverField);

} // namespace kestrum
