#pragma once

// Real FTPS and SFTP servers on 127.0.0.1 and a free port, each with keys
// made for it: Debian's vsftpd with TLS required and a certificate made with
// openssl (tests/ftps_test_server.py), and Debian's sshd with its own host
// key, configuration and authorized_keys (tests/sftp_test_server.py). Each
// serves a fresh folder and is stopped when the object goes.

#include "TestFiles.h"
#include "TestServerProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <pwd.h>
#include <shadow.h>
#include <unistd.h>

namespace kestrum::test {

// Runs a program to its end; false when it failed. Its standard output goes
// to output.
inline bool runProgram(const QString &program, const QStringList &args, QString *output = nullptr) {
  QProcess process;
  process.start(program, args);
  const bool ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
                  process.exitCode() == 0;
  if (output)
    *output = ok ? QString::fromUtf8(process.readAllStandardOutput()).trimmed() : QString();
  return ok;
}

// A program's standard output, or an empty string when it failed.
inline QString outputOf(const QString &program, const QStringList &args) {
  QString output;
  runProgram(program, args, &output);
  return output;
}

// vsftpd serving "logs" to the login "anonymous" with kPassword; TLS on the
// control and every data connection, or no TLS at all (tls false).
class FtpsTestServer {
public:
  static constexpr const char *kUser = "anonymous";
  static constexpr const char *kPassword = "s3cret";

  // Why the server cannot run here, or an empty string.
  static QString missing() {
    if (!QFileInfo::exists(QStringLiteral("/usr/sbin/vsftpd")))
      return QStringLiteral("vsftpd is not installed (/usr/sbin/vsftpd)");
    if (geteuid() != 0)
      return QStringLiteral("vsftpd serves only when started as root");
    return {};
  }

  explicit FtpsTestServer(bool tls = true) {
    for (const char *name : {"ftp_proxy", "FTP_PROXY", "all_proxy", "ALL_PROXY"})
      qunsetenv(name);
    QDir(dir_.path()).mkpath(QStringLiteral("root/logs"));
    QDir(dir_.path()).mkpath(QStringLiteral("server"));
    const QString certificate = dir_.filePath(QStringLiteral("server/cert.pem"));
    const QString key = dir_.filePath(QStringLiteral("server/key.pem"));
    outputOf(QStringLiteral("openssl"),
             {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
              "-keyout", key, "-out", certificate, "-days", "2", "-subj", "/CN=127.0.0.1",
              "-addext", "subjectAltName=IP:127.0.0.1"});
    // As openssl shows it: "sha256 Fingerprint=AB:CD:...".
    fingerprint_ = outputOf(QStringLiteral("openssl"),
                            {"x509", "-noout", "-fingerprint", "-sha256", "-in", certificate})
                       .section(QLatin1Char('='), 1);
    QStringList args{"--dir",      dir_.filePath(QStringLiteral("server")),
                     "--root",     dir_.filePath(QStringLiteral("root")),
                     "--cert",     certificate,
                     "--key",      key,
                     "--password", QString::fromLatin1(kPassword)};
    if (!tls)
      args << QStringLiteral("--no-tls");
    server_ = std::make_unique<TestServerProcess>(
        QStringLiteral(KESTRUM_TESTS_DIR "/ftps_test_server.py"), args);
  }

  bool started() const { return port() > 0 && !fingerprint_.isEmpty(); }
  int port() const { return server_->port(); }
  // The served root and its "logs" folder.
  QString root() const { return dir_.filePath(QStringLiteral("root")) + QLatin1Char('/'); }
  QString logs() const { return root() + QStringLiteral("logs/"); }
  QString certificateFingerprint() const { return fingerprint_; }

private:
  QTemporaryDir dir_;
  QString fingerprint_;
  std::unique_ptr<TestServerProcess> server_;
};

// sshd letting the user who runs the tests log in with a key made for the
// test; HOME points at a home folder of the test (holding that key as
// ~/.ssh/id_ed25519) while the object lives, so the real ~/.ssh is never
// read or written.
class SftpTestServer {
public:
  static QString missing() {
    for (const char *program : {"/usr/sbin/sshd", "/usr/lib/openssh/sftp-server"})
      if (!QFileInfo::exists(QString::fromLatin1(program)))
        return QStringLiteral("%1 is not installed (openssh-server)").arg(program);
    // Without PAM (which needs a login session set-up a test cannot
    // count on), sshd lets no one log in whose account is locked.
    if (const passwd *user = getpwuid(geteuid()))
      if (const spwd *shadow = getspnam(user->pw_name);
          shadow && shadow->sp_pwdp && shadow->sp_pwdp[0] == '!')
        return QStringLiteral("the account %1 is locked, so sshd refuses its key")
            .arg(QString::fromLocal8Bit(user->pw_name));
    return {};
  }

  // hostile: the server lists a file "dotdot-NAME" as "../NAME".
  explicit SftpTestServer(bool hostile = false)
      : oldHome_(qgetenv("HOME")), oldAgent_(qgetenv("SSH_AUTH_SOCK")) {
    qunsetenv("SSH_AUTH_SOCK"); // the user's own agent is never asked
    for (const char *folder : {"home/.ssh", "server", "logs"})
      QDir(dir_.path()).mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(home() + QStringLiteral("/.ssh"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(home()));
    const QString userKey = home() + QStringLiteral("/.ssh/id_ed25519");
    outputOf(QStringLiteral("ssh-keygen"), {"-q", "-t", "ed25519", "-N", "", "-f", userKey});
    QFile::copy(userKey + QStringLiteral(".pub"), serverFile("authorized_keys"));
    QStringList args{"--dir", dir_.filePath(QStringLiteral("server")), "--authorized-keys",
                     serverFile("authorized_keys")};
    if (hostile)
      args << QStringLiteral("--hostile");
    server_ = std::make_unique<TestServerProcess>(
        QStringLiteral(KESTRUM_TESTS_DIR "/sftp_test_server.py"), args);
  }
  ~SftpTestServer() {
    server_.reset();
    qputenv("HOME", oldHome_);
    if (!oldAgent_.isEmpty())
      qputenv("SSH_AUTH_SOCK", oldAgent_);
  }

  bool started() const { return port() > 0; }
  int port() const { return server_->port(); }
  QString home() const { return dir_.filePath(QStringLiteral("home")); }
  QString userKey() const { return home() + QStringLiteral("/.ssh/id_ed25519"); }
  QString knownHosts() const { return home() + QStringLiteral("/.ssh/known_hosts"); }
  QString logs() const { return dir_.filePath(QStringLiteral("logs")) + QLatin1Char('/'); }

  // "TYPE BASE64" of the server's host key, and its fingerprint as
  // ssh-keygen -l shows it ("SHA256:...").
  QString hostKey() const {
    return QString::fromUtf8(readAll(serverFile("ssh_host_ed25519_key.pub"))).section(' ', 0, 1);
  }
  QString hostKeyFingerprint() const {
    return outputOf(QStringLiteral("ssh-keygen"),
                    {"-l", "-f", serverFile("ssh_host_ed25519_key.pub")})
        .section(QLatin1Char(' '), 1, 1);
  }
  // known_hosts holding the server's key, or another key for the server.
  void trust() const { writeAll(knownHosts(), hostEntry(hostKey()).toUtf8()); }
  void trustAnotherKey() const {
    const QString other = QString::fromUtf8(readAll(serverFile("authorized_keys")));
    writeAll(knownHosts(), hostEntry(other.section(' ', 0, 1)).toUtf8());
  }

private:
  QString serverFile(const char *name) const {
    return dir_.filePath(QStringLiteral("server/") + QLatin1String(name));
  }
  QString hostEntry(const QString &key) const {
    return QStringLiteral("[127.0.0.1]:%1 %2\n").arg(port()).arg(key);
  }

  QTemporaryDir dir_;
  QByteArray oldHome_, oldAgent_;
  std::unique_ptr<TestServerProcess> server_;
};

} // namespace kestrum::test
