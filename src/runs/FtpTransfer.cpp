#include "FtpTransfer.h"

#include "CertificatePins.h"
#include "PartFile.h"
#include "RemoteServer.h"
#include "SshHostKeys.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <curl/curl.h>
#include <fnmatch.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>

namespace kestrum {

namespace {

enum class Kind { Cd, Dir, Get, Delete, Close };

// A listing larger than this is refused: no log folder lists that much, and
// a misbehaving server must not make us hold gigabytes of names.
constexpr qsizetype kMaxListingBytes = 64 << 20;
constexpr int kPollCapMs = 1;

QString joinPath(const QString &dir, const QString &path) {
  if (path.startsWith(QLatin1Char('/')) || dir.isEmpty())
    return path;
  if (path.isEmpty())
    return dir;
  return dir.endsWith(QLatin1Char('/')) ? dir + path : dir + QLatin1Char('/') + path;
}

QString fileName(const QString &path) {
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// "remote local": either name may hold blanks. The split taken is the first
// blank at which both sides end in the same file name (as every GET of the
// download does), else the first blank.
bool splitGetArguments(const QString &arguments, QString &remote, QString &local) {
  qsizetype first = -1;
  for (qsizetype i = arguments.indexOf(QLatin1Char(' ')); i >= 0;
       i = arguments.indexOf(QLatin1Char(' '), i + 1)) {
    if (first < 0)
      first = i;
    const QString left = arguments.left(i), right = arguments.mid(i + 1);
    if (!left.isEmpty() && fileName(left) == fileName(right)) {
      first = i;
      break;
    }
  }
  if (first <= 0 || first == arguments.size() - 1)
    return false;
  remote = arguments.left(first);
  local = arguments.mid(first + 1);
  return true;
}

bool matchesPattern(const QString &pattern, const QString &name, int flags) {
  return pattern.isEmpty() ||
         fnmatch(pattern.toUtf8().constData(), name.toUtf8().constData(), flags) == 0;
}

QStringList namesOfListing(const QByteArray &data) {
  QStringList names;
  for (QByteArray line : data.split('\n')) {
    if (line.endsWith('\r'))
      line.chop(1);
    if (!line.isEmpty())
      names.append(QString::fromUtf8(line));
  }
  return names;
}

std::once_flag curlInitialised;

// Where a TLS context keeps the session that verifies its certificates.
int sessionIndex() {
  static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return index;
}

QString localUserName() {
  if (const passwd *entry = getpwuid(geteuid()))
    return QString::fromLocal8Bit(entry->pw_name);
  return qEnvironmentVariable("USER");
}

// The user's default SSH key, as ssh would pick it (first existing).
QString defaultSshKey(const QString &home) {
  for (const char *name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
    const QString path = home + QStringLiteral("/.ssh/") + QLatin1String(name);
    if (QFileInfo(path).isFile())
      return path;
  }
  return {};
}

// A path as one argument of an SFTP quote command.
QByteArray quotedSftpPath(const QString &path) {
  QByteArray quoted = "\"";
  for (const char c : path.toUtf8()) {
    if (c == '"' || c == '\\')
      quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

QByteArray derOf(X509 *certificate) {
  const int size = i2d_X509(certificate, nullptr);
  if (size <= 0)
    return {};
  QByteArray der(size, Qt::Uninitialized);
  auto *out = reinterpret_cast<unsigned char *>(der.data());
  i2d_X509(certificate, &out);
  return der;
}

} // namespace

struct FtpTransfer::Job {
  Kind kind;
  QString argument, local;
  RemoteServer server;
  int port;
  QString user, password, proxy;
  int timeout;
  bool durable;
  QString pinFile, knownHostsFile, home;
  bool acceptUnknownPeer;
  quint64 generation;
};

struct FtpTransfer::Outcome {
  int state = 0; // 11, 12, or 0 to report nothing
  int code = 0;
  QString text;
  QString response;
  QString acceptOption;
};

// The worker thread's side of the session.
struct FtpTransfer::Session {
  FtpTransfer *owner = nullptr;
  CURLM *multi = nullptr;
  CURL *curl = nullptr;
  bool connected = false;        // the server has greeted us on this session
  bool announcedConnect = false; // 2 and 3 reported for this session
  QString cwd;                   // relative to the login directory until entry is known
  QString entry;                 // the login directory
  QString pinned;                // the FTPS certificate pinned for the server
  // Why the server was not trusted, and the option that would accept it.
  QString trustError, acceptOption;

  // Per command.
  const Job *job = nullptr;
  bool sawData = false;
  QByteArray data;
  std::unique_ptr<PartFile> file;
  QString writeError;
  QByteArray lastReply;
  char errorBuffer[CURL_ERROR_SIZE] = {};

  ~Session() {
    if (curl)
      curl_easy_cleanup(curl);
    if (multi)
      curl_multi_cleanup(multi);
  }

  QString resolve(const QString &path) const {
    const QString p = joinPath(cwd, path);
    return p.startsWith(QLatin1Char('/')) ? p : joinPath(entry, p);
  }

  bool sftp() const { return job->server.protocol == TransferProtocol::Sftp; }

  // An FTP URL's path is relative to the login directory ("%2F" starts an
  // absolute one); an SFTP URL's is absolute ("/~/" starts a relative one).
  QByteArray url(const QString &path, bool directory) const {
    QByteArray u =
        (sftp() ? "sftp://" : "ftp://") + job->server.hostAndPort(job->port).toUtf8() + '/';
    QString rest = path;
    if (rest.startsWith(QLatin1Char('/'))) {
      if (!sftp())
        u += "%2F";
      rest = rest.mid(1);
    } else if (sftp()) {
      u += "~/";
    }
    QByteArrayList segments;
    for (const QString &segment : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts))
      segments << QUrl::toPercentEncoding(segment);
    u += segments.join('/');
    if (directory && !segments.isEmpty())
      u += '/';
    return u;
  }

  static size_t onHeader(char *bytes, size_t size, size_t count, void *p) {
    auto *s = static_cast<Session *>(p);
    QByteArray line(bytes, qsizetype(size * count));
    while (line.endsWith('\n') || line.endsWith('\r'))
      line.chop(1);
    s->lastReply = line;
    if (!s->connected && line.startsWith("220")) {
      s->connected = true;
      s->owner->post(s->job->generation, kFtpConnected);
    }
    return size * count;
  }

  static size_t onData(char *bytes, size_t size, size_t count, void *p) {
    auto *s = static_cast<Session *>(p);
    const qsizetype n = qsizetype(size * count);
    if (!s->sawData) {
      s->sawData = true;
      s->owner->post(s->job->generation, kFtpReceivingResponse);
    }
    if (s->file) {
      if (!s->file->write(bytes, n)) {
        s->writeError = s->file->errorString();
        return 0;
      }
    } else {
      if (s->data.size() + n > kMaxListingBytes) {
        s->writeError = QStringLiteral("the listing is larger than %1 bytes").arg(kMaxListingBytes);
        return 0;
      }
      s->data.append(bytes, n);
    }
    return size * count;
  }

  static int onProgress(void *p, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto *s = static_cast<Session *>(p);
    return s->job->generation != s->owner->generation_.load() ? 1 : 0;
  }

  static CURLcode onTlsContext(CURL *, void *context, void *p) {
    auto *tls = static_cast<SSL_CTX *>(context);
    SSL_CTX_set_ex_data(tls, sessionIndex(), p);
    SSL_CTX_set_verify(tls, SSL_VERIFY_PEER, &Session::onVerify);
    return CURLE_OK;
  }

  static int onVerify(int preverifyOk, X509_STORE_CTX *store) {
    auto *ssl =
        static_cast<SSL *>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto *s =
        ssl ? static_cast<Session *>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), sessionIndex()))
            : nullptr;
    X509 *certificate = X509_STORE_CTX_get0_cert(store); // the server's own
    if (!s || !certificate)
      return 0;
    const bool trusted = s->verifyCertificate(preverifyOk != 0, certificate, store);
    if (trusted)
      X509_STORE_CTX_set_error(store, X509_V_OK); // libcurl asks for the result later
    return trusted ? 1 : 0;
  }

  // Called for each certificate of the chain the server shows. A pinned
  // server must show exactly its pinned certificate; any other is trusted
  // when the system's authorities vouch for it (name checked by libcurl).
  bool verifyCertificate(bool chainOk, X509 *certificate, X509_STORE_CTX *store) {
    const QString fingerprint = certificateFingerprint(derOf(certificate));
    const QString server = job->server.hostAndPort(job->port);
    if (!pinned.isEmpty() && fingerprint == pinned)
      return true;
    if (job->acceptUnknownPeer) {
      if (const Result r = pinCertificate(job->pinFile, server, fingerprint); !r.ok()) {
        trustError = r.error;
        return false;
      }
      pinned = fingerprint;
      owner->postAccepted(job->generation,
                          QStringLiteral("accepted the certificate of %1, SHA-256 fingerprint "
                                         "%2 (pinned in %3)")
                              .arg(server, fingerprint, job->pinFile));
      return true;
    }
    if (!pinned.isEmpty()) {
      trustError = QStringLiteral("the certificate of %1 is not the one accepted before (%2); "
                                  "its SHA-256 fingerprint is %3")
                       .arg(server, pinned, fingerprint);
      acceptOption = QStringLiteral("--accept-certificate");
      return false;
    }
    if (!chainOk && trustError.isEmpty()) {
      trustError = QStringLiteral("the certificate of %1 is not trusted (%2); its SHA-256 "
                                  "fingerprint is %3")
                       .arg(server,
                            QString::fromUtf8(
                                X509_verify_cert_error_string(X509_STORE_CTX_get_error(store))),
                            fingerprint);
      acceptOption = QStringLiteral("--accept-certificate");
    }
    return chainOk;
  }

  static int onHostKey(CURL *, const curl_khkey *, const curl_khkey *found, curl_khmatch match,
                       void *p) {
    auto *s = static_cast<Session *>(p);
    const SshHostKey key{found->len ? QByteArray(found->key, qsizetype(found->len))
                                    : QByteArray::fromBase64(found->key)};
    return s->checkHostKey(key, match) ? CURLKHSTAT_FINE : CURLKHSTAT_REJECT;
  }

  bool checkHostKey(const SshHostKey &key, curl_khmatch match) {
    const QString host = job->server.host;
    const QString name =
        job->port == 22 ? host : QStringLiteral("[%1]:%2").arg(host).arg(job->port);
    const QString shown = key.type() + QLatin1Char(' ') + key.fingerprint();
    if (match == CURLKHMATCH_MISMATCH) {
      trustError =
          QStringLiteral("the host key of %1 has changed: the server shows %2, not the key "
                         "%3 holds for it; this may be an attack. If the server's key "
                         "was replaced, remove the old one with: ssh-keygen -R \"%1\"")
              .arg(name, shown, job->knownHostsFile);
      return false;
    }
    if (match != CURLKHMATCH_OK) {
      if (!job->acceptUnknownPeer) {
        trustError = QStringLiteral("the host key of %1 is unknown: %2 is not in %3")
                         .arg(name, shown, job->knownHostsFile);
        acceptOption = QStringLiteral("--accept-host-key");
        return false;
      }
      if (const Result r =
              appendKnownHost(job->knownHostsFile, key.knownHostsLine(host, job->port));
          !r.ok()) {
        trustError = r.error;
        return false;
      }
      owner->postAccepted(job->generation, QStringLiteral("accepted the host key of %1, %2 (added "
                                                          "to %3)")
                                               .arg(name, shown, job->knownHostsFile));
    }
    connected = true;
    owner->post(job->generation, kFtpConnected);
    return true;
  }

  static curl_socket_t onOpenSocket(void *p, curlsocktype, struct curl_sockaddr *address) {
    auto *s = static_cast<Session *>(p);
    if (!s->connected && !s->announcedConnect) {
      s->announcedConnect = true;
      s->owner->post(s->job->generation, kFtpHostResolved);
      s->owner->post(s->job->generation, kFtpConnecting);
    }
    return ::socket(address->family, address->socktype, address->protocol);
  }

  // Sets the options every command shares; the connection (if any) stays.
  void prepare(const Job &j) {
    job = &j;
    sawData = false;
    data.clear();
    file.reset();
    writeError.clear();
    lastReply.clear();
    trustError.clear();
    acceptOption.clear();
    errorBuffer[0] = 0;
    if (!multi)
      multi = curl_multi_init();
    if (!curl)
      curl = curl_easy_init();
    else
      curl_easy_reset(curl);
    if (!connected && !announcedConnect)
      owner->post(j.generation, kFtpResolvingHost);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Session::onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Session::onData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Session::onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &Session::onOpenSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, sftp() ? "sftp" : "ftp");
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 256L * 1024);
    if (!j.user.isEmpty()) {
      curl_easy_setopt(curl, CURLOPT_USERNAME, j.user.toUtf8().constData());
      curl_easy_setopt(curl, CURLOPT_PASSWORD, j.password.toUtf8().constData());
    }
    if (j.server.protocol == TransferProtocol::Ftps)
      prepareTls(j);
    else if (sftp())
      prepareSsh(j);
    if (!j.proxy.isEmpty())
      curl_easy_setopt(curl, CURLOPT_PROXY, j.proxy.toUtf8().constData());
    // Through an HTTP proxy the session tunnels, so that every command works.
    curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
    if (j.timeout > 0) {
      curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(j.timeout));
      curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(j.timeout));
      curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
      curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(j.timeout));
    }
  }

  void prepareTls(const Job &j) {
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
    curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &Session::onTlsContext);
    curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, this);
    if (!connected && !j.pinFile.isEmpty()) {
      // An unreadable pin file pins nothing: the authorities decide.
      readPinnedCertificate(j.pinFile, j.server.hostAndPort(j.port), pinned);
    }
    // A pinned certificate is the server's identity, whatever names it holds.
    const bool pinnedIdentity = !pinned.isEmpty() || j.acceptUnknownPeer;
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, pinnedIdentity ? 0L : 2L);
  }

  void prepareSsh(const Job &j) {
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, QFile::encodeName(j.knownHostsFile).constData());
    curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &Session::onHostKey);
    curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
    if (j.user.isEmpty())
      curl_easy_setopt(curl, CURLOPT_USERNAME, localUserName().toUtf8().constData());
    if (!j.password.isEmpty()) {
      curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                       long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
      return;
    }
    curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                     long(CURLSSH_AUTH_AGENT | CURLSSH_AUTH_PUBLICKEY));
    if (const QString key = defaultSshKey(j.home); !key.isEmpty()) {
      curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, QFile::encodeName(key).constData());
      curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, ""); // derived from the private key
    }
  }

  // Runs the transfer through the multi handle, which keeps the connection
  // between commands. The wait is capped: libcurl 7.88 otherwise leaves a
  // passive data connection unstarted until its next one-second wake-up.
  CURLcode perform(const QByteArray &url) {
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_multi_add_handle(multi, curl);
    CURLcode rc = CURLE_OK;
    for (int running = 1; running;) {
      if (const CURLMcode mc = curl_multi_perform(multi, &running); mc != CURLM_OK) {
        rc = CURLE_OUT_OF_MEMORY;
        break;
      }
      if (running)
        curl_multi_poll(multi, nullptr, 0, kPollCapMs, nullptr);
    }
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &left))
      if (message->msg == CURLMSG_DONE && message->easy_handle == curl)
        rc = message->data.result;
    curl_multi_remove_handle(multi, curl);
    if (entry.isEmpty()) {
      char *path = nullptr;
      if (curl_easy_getinfo(curl, CURLINFO_FTP_ENTRY_PATH, &path) == CURLE_OK && path)
        entry = QString::fromUtf8(path);
    }
    return rc;
  }

  long replyCode() const {
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    return code;
  }

  QString replyText() const { return QString::fromUtf8(lastReply.mid(4)).trimmed(); }

  Outcome failure(CURLcode rc) const {
    if (!trustError.isEmpty())
      return {kFtpError, int(rc), trustError, {}, acceptOption};
    if (!writeError.isEmpty())
      return {kFtpError, CURLE_WRITE_ERROR, writeError, {}, {}};
    if (rc == CURLE_USE_SSL_FAILED)
      return {kFtpError,
              int(rc),
              QStringLiteral("the server offers no TLS (its answer to AUTH TLS: %1), which an "
                             "ftps:// server must")
                  .arg(QString::fromUtf8(lastReply)),
              {},
              {}};
    if (const long code = replyCode(); code >= 400)
      return {kFtpError, int(code), replyText(), {}, {}};
    return {kFtpError,
            int(rc),
            QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc)),
            {},
            {}};
  }

  Outcome success(const QString &response = {}) {
    if (!sawData)
      owner->post(job->generation, kFtpReceivingResponse);
    return {kFtpResponseCompleted, int(replyCode()), replyText(), response, {}};
  }

  Outcome changeDirectory() {
    const QString target = resolve(job->argument);
    // SFTP has no directory change; reading the folder checks it is there.
    curl_easy_setopt(curl, sftp() ? CURLOPT_DIRLISTONLY : CURLOPT_NOBODY, 1L);
    if (const CURLcode rc = perform(url(target, true)); rc != CURLE_OK)
      return failure(rc);
    data.clear();
    cwd = resolve(job->argument); // absolute now that the login directory is known
    return success();
  }

  Outcome list() {
    const QString pattern = job->argument;
    QStringList names;
    bool listed = false;
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
    if (!pattern.isEmpty() && !sftp()) {
      const QByteArray request = "NLST " + pattern.toUtf8();
      curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.constData());
      const CURLcode rc = perform(url(cwd, true));
      curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
      if (rc != CURLE_OK && (replyCode() < 400 || !writeError.isEmpty()))
        return failure(rc);
      // Keep only what matches, should the server ignore the pattern; the
      // server's own matching may ignore case.
      if (rc == CURLE_OK)
        for (const QString &name : namesOfListing(data))
          if (matchesPattern(pattern, name, FNM_CASEFOLD))
            names << name;
      listed = !names.isEmpty();
    }
    if (!listed) {
      data.clear();
      if (const CURLcode rc = perform(url(cwd, true)); rc != CURLE_OK)
        return failure(rc);
      for (const QString &name : namesOfListing(data))
        if (matchesPattern(pattern, name, 0) && name != QLatin1String(".") &&
            name != QLatin1String(".."))
          names << name;
    }
    QString response;
    for (const QString &name : names)
      response += name + QLatin1String("\r\n");
    return success(response + QLatin1String("\r\n"));
  }

  Outcome get() {
    file = std::make_unique<PartFile>(job->local);
    if (!file->open()) {
      writeError = file->errorString();
      file.reset();
      return failure(CURLE_WRITE_ERROR);
    }
    const CURLcode rc = perform(url(resolve(job->argument), false));
    if (rc != CURLE_OK) {
      file.reset(); // removes the temporary file
      return failure(rc);
    }
    if (!file->commit(job->durable)) {
      writeError = file->errorString();
      file.reset();
      return failure(CURLE_WRITE_ERROR);
    }
    file.reset();
    return success();
  }

  Outcome remove() {
    // QUOTE commands go before the directory change, so the path is made
    // absolute; the login directory is known from the commands before.
    const QByteArray command = sftp() ? "rm " + quotedSftpPath(resolve(job->argument))
                                      : "DELE " + resolve(job->argument).toUtf8();
    curl_slist *commands = curl_slist_append(nullptr, command.constData());
    curl_easy_setopt(curl, CURLOPT_QUOTE, commands);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    const CURLcode rc = perform(url(cwd, true));
    curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(commands);
    return rc == CURLE_OK ? success() : failure(rc);
  }

  Outcome close(const Job &j) {
    const bool wasConnected = connected;
    if (wasConnected)
      owner->post(j.generation, kFtpDisconnecting);
    if (curl) {
      curl_easy_reset(curl); // no callbacks of an earlier command while saying QUIT
      curl_easy_cleanup(curl);
    }
    if (multi)
      curl_multi_cleanup(multi); // says QUIT on a live connection
    curl = nullptr;
    multi = nullptr;
    connected = announcedConnect = false;
    cwd.clear();
    entry.clear();
    pinned.clear();
    if (wasConnected)
      owner->post(j.generation, kFtpDisconnected);
    return {};
  }

  Outcome run(const Job &j) {
    if (j.kind == Kind::Close)
      return close(j);
    prepare(j);
    switch (j.kind) {
    case Kind::Cd: return changeDirectory();
    case Kind::Dir: return list();
    case Kind::Get: return get();
    case Kind::Delete: return remove();
    case Kind::Close: break;
    }
    return {};
  }
};

FtpTransfer::FtpTransfer(QObject *parent) : QObject(parent), session_(new Session) {
  std::call_once(curlInitialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  session_->owner = this;
  worker_ = std::thread([this] { workerLoop(); });
}

FtpTransfer::~FtpTransfer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
    ++generation_; // ends a running command at its next progress call
  }
  wake_.notify_all();
  worker_.join();
}

bool FtpTransfer::Execute(const QString &command) {
  const qsizetype blank = command.indexOf(QLatin1Char(' '));
  const QString verb = (blank < 0 ? command : command.left(blank)).toUpper();
  const QString argument = blank < 0 ? QString() : command.mid(blank + 1);
  Job job{.kind = Kind::Cd,
          .argument = argument,
          .local = {},
          .server = parseRemoteServer(RemoteHost),
          .port = RemotePort,
          .user = UserName,
          .password = Password,
          .proxy = Proxy,
          .timeout = RequestTimeout,
          .durable = DurableGet,
          .pinFile = CertificatePinFile,
          .knownHostsFile = KnownHostsFile.isEmpty() ? userKnownHostsFile() : KnownHostsFile,
          .home = QDir::homePath(),
          .acceptUnknownPeer = AcceptUnknownPeer,
          .generation = generation_.load()};
  if (verb == QLatin1String("CD"))
    job.kind = Kind::Cd;
  else if (verb == QLatin1String("DIR"))
    job.kind = Kind::Dir;
  else if (verb == QLatin1String("DELETE"))
    job.kind = Kind::Delete;
  else if (verb == QLatin1String("CLOSE") || verb == QLatin1String("QUIT"))
    job.kind = Kind::Close;
  else if (verb == QLatin1String("GET")) {
    job.kind = Kind::Get;
    if (!splitGetArguments(argument, job.argument, job.local))
      return false;
  } else
    return false;
  if (job.kind != Kind::Close &&
      (job.server.host.isEmpty() || job.server.protocol == TransferProtocol::Unknown))
    return false;
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  ++pending_;
  wake_.notify_one();
  return true;
}

void FtpTransfer::Cancel() {
  std::lock_guard lock(mutex_);
  pending_ -= int(jobs_.size());
  jobs_.clear();
  ++generation_;
}

QString FtpTransfer::GetChunk(int size) {
  const QString chunk = response_.mid(responseRead_, qMax(size, 0));
  responseRead_ += chunk.size();
  return chunk;
}

void FtpTransfer::post(quint64 generation, int state) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, state] {
        if (generation == generation_.load())
          emit StateChanged(state);
      },
      Qt::QueuedConnection);
}

void FtpTransfer::postAccepted(quint64 generation, const QString &text) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, text] {
        if (generation == generation_.load())
          emit PeerAccepted(text);
      },
      Qt::QueuedConnection);
}

void FtpTransfer::finish(quint64 generation, const Outcome &outcome) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, outcome] {
        --pending_;
        if (generation != generation_.load() || outcome.state == 0)
          return;
        responseCode_ = outcome.code;
        responseInfo_ = outcome.text;
        acceptOption_ = outcome.acceptOption;
        response_ = outcome.response;
        responseRead_ = 0;
        emit StateChanged(outcome.state);
      },
      Qt::QueuedConnection);
}

void FtpTransfer::workerLoop() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_)
        break;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    const Outcome outcome = session_->run(job);
    session_->job = nullptr;
    finish(job.generation, outcome);
  }
  session_.reset();
}

} // namespace kestrum
