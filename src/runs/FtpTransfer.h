#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace kestrum {

// The state numbers that FtpTransfer::StateChanged reports.
enum FtpState : int {
  kFtpResolvingHost = 1,
  kFtpHostResolved = 2,
  kFtpConnecting = 3,
  kFtpConnected = 4,
  kFtpReceivingResponse = 7,
  kFtpDisconnecting = 9,
  kFtpDisconnected = 10,
  kFtpError = 11,
  kFtpResponseCompleted = 12,
};

// One FTP, FTPS or SFTP session driven by command strings, in the manner of
// an Internet transfer control:
//   "CD dir"              change the remote directory
//   "DIR pattern"         list the names matching pattern (see below)
//   "GET remote local"    fetch remote into the local file
//   "DELETE path"         delete a remote file
//   "CLOSE", "QUIT"       end the session
// Commands run one after the other on a worker thread (libcurl); the
// owner's thread never blocks. State changes arrive as StateChanged on the
// thread that owns the object, between its other events: 1-4 while the
// first command connects, 7 when the reply or data arrives, 12 when the
// command completed, 11 when it failed (ResponseCode / ResponseInfo tell
// why), 9 and 10 when CLOSE or QUIT end a connection.
//
// The response of "DIR pattern" (read with GetChunk) is the matching names,
// each ended by CR LF, and one more empty CR LF-terminated line. The pattern
// goes to the server as it stands; when the server refuses it or lists
// nothing for it, the whole directory is listed and the pattern (shell-style
// wildcards) is matched here.
//
// "GET" writes to a temporary file beside the local name and renames it
// over the name only when the transfer completed (PartFile), so a broken
// transfer never leaves a partial file.
//
// The protocol comes from RemoteHost's prefix (RemoteServer): plain FTP,
// FTPS (AUTH TLS, every connection protected, refused when the server offers
// no TLS) or SFTP (listing the folder and matching the pattern here, "rm"
// for DELETE). An FTPS certificate must be vouched for by the system's
// authorities or be the one pinned for the server in CertificatePinFile; an
// SFTP host key must be in the user's known_hosts. Either refusal fails the
// first command before any password is sent, with the fingerprint in
// ResponseInfo and AcceptOption naming the kestrum-cli option that accepts
// it. SFTP logs in with Password, or when it is empty with the SSH agent or
// the user's default key (~/.ssh/id_ed25519, id_ecdsa, id_rsa); an empty
// UserName is the local user's name there.
class FtpTransfer : public QObject {
  Q_OBJECT
public:
  explicit FtpTransfer(QObject *parent = nullptr);
  ~FtpTransfer() override;

  // Read when a command starts.
  QString RemoteHost;
  int RemotePort = 21;
  QString UserName; // empty: anonymous
  QString Password;
  QString Proxy;          // empty: the environment's proxy settings apply
  int RequestTimeout = 0; // seconds a reply may keep us waiting; 0: no limit
  // A GET's file reaches the disk before it takes its name. Costly for large
  // files; needed when the remote copy is deleted next.
  bool DurableGet = true;
  // Trust of FTPS and SFTP servers (read when a command starts).
  QString CertificatePinFile; // empty: no certificate is pinned or accepted
  QString KnownHostsFile;     // empty: the user's ~/.ssh/known_hosts
  // An untrusted certificate or unknown host key is accepted: pinned, or
  // added to known_hosts, and PeerAccepted tells which. A changed host key
  // is refused all the same.
  bool AcceptUnknownPeer = false;

  // Queues a command behind the running one. False (nothing queued) for an
  // unknown command or when no host is set.
  bool Execute(const QString &command);
  // Abandons the running command and the queued ones; no state change of
  // theirs is reported any more. A GET's temporary file is removed.
  void Cancel();
  bool StillExecuting() const { return pending_ > 0; }

  // The next at most size characters of the last command's response; an
  // empty string once it is all read.
  QString GetChunk(int size);
  // The server's reply code of the failure or completion, or for a failure
  // without a reply (no connection, time-out, broken transfer, local file)
  // libcurl's error number; ResponseInfo is the matching text.
  int ResponseCode() const { return responseCode_; }
  QString ResponseInfo() const { return responseInfo_; }
  // After a failure because the server was not trusted: the kestrum-cli
  // fetch option that accepts it ("--accept-certificate" or
  // "--accept-host-key"); otherwise empty.
  QString AcceptOption() const { return acceptOption_; }

signals:
  void StateChanged(int state);
  // A server's certificate or host key was accepted (AcceptUnknownPeer);
  // text says which, with its fingerprint and where it was recorded.
  void PeerAccepted(const QString &text);

private:
  struct Job;
  struct Session;
  struct Outcome;

  void workerLoop();
  void post(quint64 generation, int state);
  void postAccepted(quint64 generation, const QString &text);
  void finish(quint64 generation, const Outcome &outcome);

  std::unique_ptr<Session> session_; // used by the worker thread only
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  std::atomic<quint64> generation_{0};
  std::thread worker_;

  // Owner's thread only.
  int pending_ = 0;
  int responseCode_ = 0;
  QString responseInfo_;
  QString acceptOption_;
  QString response_;
  qsizetype responseRead_ = 0;
};

} // namespace kestrum
