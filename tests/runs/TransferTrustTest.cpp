// The pieces the secure downloads rest on: the server field's protocol and
// port, the certificate pin file, and SSH host keys as OpenSSH shows and
// records them.

#include "SecureTestServers.h"
#include "runs/CertificatePins.h"
#include "runs/RemoteServer.h"
#include "runs/SshHostKeys.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kestrum;
using namespace kestrum::test;

namespace {

TEST(RemoteServerTest, ProtocolAndPortComeFromTheServerAndPortFields) {
  struct Case {
    const char *server, *port;
    TransferProtocol protocol;
    const char *host;
    int expectedPort;
  };
  const Case cases[] = {
      {"logs.example.org", "", TransferProtocol::Ftp, "logs.example.org", 21},
      {"  ftp://logs.example.org/ ", "2121", TransferProtocol::Ftp, "logs.example.org", 2121},
      {"FTPS://logs.example.org", "21", TransferProtocol::Ftps, "logs.example.org", 21},
      {"ftps://logs.example.org", "990", TransferProtocol::Ftps, "logs.example.org", 990},
      {"sftp://logs.example.org", "", TransferProtocol::Sftp, "logs.example.org", 22},
      {"sftp://logs.example.org", "21", TransferProtocol::Sftp, "logs.example.org", 22},
      {"sftp://logs.example.org", " 2222 ", TransferProtocol::Sftp, "logs.example.org", 2222},
      {"sftp://::1", "", TransferProtocol::Sftp, "::1", 22},
      {"http://logs.example.org", "", TransferProtocol::Unknown, "logs.example.org", 21},
      {"ftp://logs.example.org", "0", TransferProtocol::Ftp, "logs.example.org", 0},
      {"sftp://logs.example.org", "65536", TransferProtocol::Sftp, "logs.example.org", 0},
      {"sftp://logs.example.org", "22x", TransferProtocol::Sftp, "logs.example.org", 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.server) + " port " + c.port);
    const RemoteServer server = parseRemoteServer(QString::fromLatin1(c.server));
    EXPECT_EQ(server.protocol, c.protocol);
    EXPECT_EQ(server.host, QString::fromLatin1(c.host));
    EXPECT_EQ(server.port(QString::fromLatin1(c.port)), c.expectedPort);
  }
  EXPECT_EQ(parseRemoteServer("sftp://::1").hostAndPort(2222), "[::1]:2222");
  EXPECT_EQ(parseRemoteServer("logs.example.org").hostAndPort(21), "logs.example.org:21");
}

const QString kPin = QStringList(32, QStringLiteral("0F")).join(QLatin1Char(':'));
const QString kOtherPin = QStringList(32, QStringLiteral("A1")).join(QLatin1Char(':'));

TEST(CertificatePinsTest, ReadsThePinOfTheServerAndIgnoresEverythingElse) {
  struct Case {
    const char *name;
    QByteArray file;
    QString expected;
  };
  const QByteArray pin = kPin.toLatin1(), other = kOtherPin.toLatin1();
  const Case cases[] = {
      {"plain", "host:21 " + pin + "\n", kPin},
      {"CR LF, blanks, no last line end", "  host:21\t" + pin + " \r", kPin},
      {"lower-case fingerprint and host", "HOST:21 " + pin.toLower(), kPin},
      {"comment", "# host:21 " + pin + "\n", {}},
      {"other port", "host:990 " + pin + "\n", {}},
      {"other host", "other:21 " + pin + "\n", {}},
      {"fingerprint cut short", "host:21 " + pin.left(90) + "\n", {}},
      {"not hex", "host:21 " + QByteArray(pin).replace("0F", "0G") + "\n", {}},
      {"third field", "host:21 " + pin + " extra\n", {}},
      {"later line wins", "host:21 " + other + "\nhost:21 " + pin + "\n", kPin},
      {"binary", QByteArray("\0\xff\n host:21", 10), {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(pinnedCertificate(c.file, QStringLiteral("host:21")), c.expected);
  }
}

TEST(CertificatePinsTest, PinningReplacesTheServersLinesAndKeepsTheRest) {
  const QByteArray before = "# mine\nother:21 " + kOtherPin.toLatin1() + "\nhost:21 " +
                            kOtherPin.toLatin1() + "\nnot a pin line\n";
  const QByteArray after = withPinnedCertificate(before, QStringLiteral("host:21"), kPin);
  EXPECT_EQ(after, "# mine\nother:21 " + kOtherPin.toLatin1() + "\nnot a pin line\nhost:21 " +
                       kPin.toLatin1() + "\n");
  EXPECT_EQ(pinnedCertificate(after, QStringLiteral("host:21")), kPin);
  EXPECT_EQ(pinnedCertificate(after, QStringLiteral("other:21")), kOtherPin);

  QTemporaryDir dir;
  const QString file = dir.filePath(QString::fromLatin1(kCertificatePinFileName));
  QString read = QStringLiteral("x");
  ASSERT_TRUE(readPinnedCertificate(file, QStringLiteral("host:21"), read).ok()); // missing file
  EXPECT_TRUE(read.isEmpty());
  ASSERT_TRUE(pinCertificate(file, QStringLiteral("host:21"), kPin).ok());
  ASSERT_TRUE(pinCertificate(file, QStringLiteral("other:21"), kOtherPin).ok());
  ASSERT_TRUE(readPinnedCertificate(file, QStringLiteral("host:21"), read).ok());
  EXPECT_EQ(read, kPin);
  EXPECT_TRUE(readAll(file).startsWith("# ")); // the new file says what it is
}

// The type, fingerprint and known_hosts line of a real key agree with
// OpenSSH's own tools.
TEST(SshHostKeyTest, AgreesWithOpenSsh) {
  if (!QFileInfo::exists(QStringLiteral("/usr/bin/ssh-keygen")))
    GTEST_SKIP() << "ssh-keygen is not installed (openssh-client)";
  QTemporaryDir dir;
  for (const char *type : {"ed25519", "ecdsa", "rsa"}) {
    SCOPED_TRACE(type);
    const QString key = dir.filePath(QString::fromLatin1(type));
    outputOf(QStringLiteral("ssh-keygen"), {"-q", "-t", type, "-N", "", "-f", key});
    const QStringList publicKey = QString::fromUtf8(readAll(key + ".pub")).split(' ');
    ASSERT_GE(publicKey.size(), 2);
    const SshHostKey hostKey{QByteArray::fromBase64(publicKey[1].toLatin1())};
    EXPECT_EQ(hostKey.type(), publicKey[0]);
    EXPECT_EQ(
        hostKey.fingerprint(),
        outputOf(QStringLiteral("ssh-keygen"), {"-l", "-f", key + ".pub"}).section(' ', 1, 1));

    const QString knownHosts = dir.filePath(QStringLiteral("known_hosts"));
    writeAll(knownHosts, hostKey.knownHostsLine(QStringLiteral("127.0.0.1"), 2222));
    EXPECT_FALSE(
        outputOf(QStringLiteral("ssh-keygen"), {"-F", "[127.0.0.1]:2222", "-f", knownHosts})
            .isEmpty());
  }
  const SshHostKey key{QByteArray::fromBase64("AAAAC3NzaC1lZDI1NTE5AAAAIA==")};
  EXPECT_EQ(key.knownHostsLine(QStringLiteral("h"), 22),
            "h ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIA==");
  for (const QByteArray &bad : {QByteArray(), QByteArray("\0\0\0", 3),
                                QByteArray("\0\0\0\x09"
                                           "ab",
                                           6),
                                QByteArray("\xff\xff\xff\xff", 4), QByteArray("\0\0\0\x02\n\0", 6)})
    EXPECT_EQ(SshHostKey{bad}.type(), "unknown");
}

TEST(SshHostKeyTest, AppendingCreatesPrivateFilesAndKeepsEarlierLines) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral(".ssh/known_hosts"));
  ASSERT_TRUE(appendKnownHost(file, "a ssh-ed25519 AAAA").ok());
  EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral(".ssh"))).permissions().toInt() & 0x0077, 0);
  EXPECT_EQ(QFileInfo(file).permissions().toInt() & 0x0077, 0);
  writeAll(file, "# no line end");
  ASSERT_TRUE(appendKnownHost(file, "b ssh-ed25519 BBBB").ok());
  EXPECT_EQ(readAll(file), "# no line end\nb ssh-ed25519 BBBB\n");
}

} // namespace
