#pragma once

#include "FtpTransfer.h"
#include "profile/Profile.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

namespace kestrum {

// What the download shows and asks of its window. The download window
// implements it with widgets; kestrum-cli prints.
class DownloadView {
public:
  virtual ~DownloadView() = default;
  virtual void SetCurrentAction(const QString &text) = 0;
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
  virtual void Beep() = 0;
  // The results window, modal: returns when the user has closed it.
  virtual void ShowResults(const QStringList &files, const QString &profileDir) = 0;
  // An "error:" text is showing; the exchange waits for CancelBut_Click.
  virtual void AwaitCancel() = 0;
  // The exchange is over: close the window (called more than once at times).
  virtual void CloseWindow() = 0;
};

// What a download may accept from a server it cannot trust yet (asked for
// on kestrum-cli's command line; the window accepts nothing).
struct FetchTrust {
  bool acceptCertificate = false; // an FTPS certificate is pinned
  bool acceptHostKey = false;     // an unknown SSH host key joins known_hosts
  QString profileFile;            // named in the hint on how to accept
};

enum class DownloadOutcome {
  Running,
  Finished,   // the exchange ended without an error
  Failed,     // an error was shown, then the exchange was cancelled
  Cancelled,  // cancelled without an error
  NotStarted, // the first command could not be started (no host)
};

// The log download of one profile over FTP, FTPS or SFTP (the server
// field's prefix chooses): change to the remote directory, list
// the files matching the pattern, fetch each into the profile directory
// (deleting it on the server afterwards when asked to), quit. Driven by the
// transfer object's state changes on the owner's thread.
//
// Beyond a plain chain of commands it refuses a listed name that could
// leave the profile directory, deletes on the server only files it has
// fetched, takes listings of any length, and treats a relative profile
// directory as relative to the program folder.
class FtpDownload : public QObject {
  Q_OBJECT
public:
  // startDelayMs: the start timer's interval (the window waits a second so
  // it is seen before the exchange begins).
  FtpDownload(const ProfileSettings &settings, const QString &programDir, DownloadView &view,
              int startDelayMs = 1000, const FetchTrust &trust = {}, QObject *parent = nullptr);

  void CancelBut_Click();
  DownloadOutcome Outcome() const { return outcome_; }

signals:
  void Closed();

private:
  void StartT_Timer();
  void Init();
  void Downloader_StateChanged(int state);
  void Completed();
  void ParseListing(const QString &response);
  void FileDone();
  bool DoDownload();
  void DoKill();
  void DoClose();
  QString GetStrFromChunk();
  void ShowError(const QString &text);
  void CloseWindow();
  bool LetEventsRun(); // false when the exchange ended meanwhile
  QString progressText(const QString &what) const;

  const ProfileSettings settings_;
  const QString localFolder_;
  const QString programDir_;
  const FetchTrust trust_;
  DownloadView &view_;
  FtpTransfer Downloader_;
  QTimer StartT;

  int Step = 0;
  int CurrentFileIndex = 0;
  int FileCount = 0;
  QStringList Files; // from index 1; index 0 unused
  bool errorShown_ = false;
  bool closing_ = false;
  bool closedSignalled_ = false;
  DownloadOutcome outcome_ = DownloadOutcome::Running;
};

} // namespace kestrum
