#include "FtpTransfer.h"

#include "PartFile.h"

#include <QUrl>

#include <curl/curl.h>
#include <fnmatch.h>
#include <sys/socket.h>

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

} // namespace

struct FtpTransfer::Job {
  Kind kind;
  QString argument, local;
  QString host;
  int port;
  QString user, password, proxy;
  int timeout;
  bool durable;
  quint64 generation;
};

struct FtpTransfer::Outcome {
  int state = 0; // 11, 12, or 0 to report nothing
  int code = 0;
  QString text;
  QString response;
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

  QByteArray url(const QString &path, bool directory) const {
    QString host = job->host.trimmed();
    if (host.startsWith(QLatin1String("ftp://"), Qt::CaseInsensitive))
      host = host.mid(6);
    while (host.endsWith(QLatin1Char('/')))
      host.chop(1);
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
      host = QLatin1Char('[') + host + QLatin1Char(']');
    QByteArray u = "ftp://" + host.toUtf8() + ':' + QByteArray::number(job->port) + '/';
    QString rest = path;
    if (rest.startsWith(QLatin1Char('/'))) {
      u += "%2F";
      rest = rest.mid(1);
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
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 256L * 1024);
    if (!j.user.isEmpty()) {
      curl_easy_setopt(curl, CURLOPT_USERNAME, j.user.toUtf8().constData());
      curl_easy_setopt(curl, CURLOPT_PASSWORD, j.password.toUtf8().constData());
    }
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
    if (!writeError.isEmpty())
      return {kFtpError, CURLE_WRITE_ERROR, writeError, {}};
    if (const long code = replyCode(); code >= 400)
      return {kFtpError, int(code), replyText(), {}};
    return {kFtpError,
            int(rc),
            QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc)),
            {}};
  }

  Outcome success(const QString &response = {}) {
    if (!sawData)
      owner->post(job->generation, kFtpReceivingResponse);
    return {kFtpResponseCompleted, int(replyCode()), replyText(), response};
  }

  Outcome changeDirectory() {
    const QString target = resolve(job->argument);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    if (const CURLcode rc = perform(url(target, true)); rc != CURLE_OK)
      return failure(rc);
    cwd = resolve(job->argument); // absolute now that the login directory is known
    return success();
  }

  Outcome list() {
    const QString pattern = job->argument;
    QStringList names;
    bool listed = false;
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
    if (!pattern.isEmpty()) {
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
        if (matchesPattern(pattern, name, 0))
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
    const QByteArray command = "DELE " + resolve(job->argument).toUtf8();
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
          .host = RemoteHost,
          .port = RemotePort,
          .user = UserName,
          .password = Password,
          .proxy = Proxy,
          .timeout = RequestTimeout,
          .durable = DurableGet,
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
  if (job.kind != Kind::Close && RemoteHost.trimmed().isEmpty())
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

void FtpTransfer::finish(quint64 generation, const Outcome &outcome) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, outcome] {
        --pending_;
        if (generation != generation_.load() || outcome.state == 0)
          return;
        responseCode_ = outcome.code;
        responseInfo_ = outcome.text;
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
