#include "RemoteServer.h"

namespace kestrum {

RemoteServer parseRemoteServer(const QString &serverField) {
  RemoteServer server;
  QString host = serverField.trimmed();
  if (const qsizetype separator = host.indexOf(QLatin1String("://")); separator >= 0) {
    const QString scheme = host.left(separator).toLower();
    host = host.mid(separator + 3);
    if (scheme == QLatin1String("ftp"))
      server.protocol = TransferProtocol::Ftp;
    else if (scheme == QLatin1String("ftps"))
      server.protocol = TransferProtocol::Ftps;
    else if (scheme == QLatin1String("sftp"))
      server.protocol = TransferProtocol::Sftp;
    else
      server.protocol = TransferProtocol::Unknown;
  }
  while (host.endsWith(QLatin1Char('/')))
    host.chop(1);
  server.host = host;
  return server;
}

int RemoteServer::port(const QString &portText) const {
  const int usual = protocol == TransferProtocol::Sftp ? 22 : 21;
  const QString trimmed = portText.trimmed();
  if (trimmed.isEmpty())
    return usual;
  bool ok = false;
  const int port = trimmed.toInt(&ok);
  if (!ok || port < 1 || port > 65535)
    return 0;
  return port == 21 ? usual : port;
}

QString RemoteServer::hostAndPort(int port) const {
  const bool ipv6 = host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['));
  return (ipv6 ? QLatin1Char('[') + host + QLatin1Char(']') : host) + QLatin1Char(':') +
         QString::number(port);
}

} // namespace kestrum
