#include "FtpDownload.h"

#include "CertificatePins.h"
#include "RemoteServer.h"
#include "platform/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kestrum {

namespace {

constexpr int kChunkSize = 1024;

// A number's decimal digits behind a blank (a '-' for a negative number).
QString numberText(int value) {
  return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

bool isTrue(FieldBool16 value) {
  return value != 0;
}

bool existsLocally(const QString &path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink(); // a dangling link counts
}

// The local folder the files go to, with a trailing '/'.
QString localFolderFor(const QString &profileDir, const QString &programDir) {
  if (profileDir.isEmpty())
    return withTrailingSlash(programDir);
  const QString folder =
      QDir::isRelativePath(profileDir) ? withTrailingSlash(programDir) + profileDir : profileDir;
  return withTrailingSlash(QDir::cleanPath(folder));
}

// A listed name that may be fetched: not empty, no '/', '\\' or "..", no
// control characters (it could otherwise leave the folder).
bool isSafeName(const QString &name) {
  if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
      name.contains(QLatin1String("..")))
    return false;
  for (const QChar c : name)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f)
      return false;
  return true;
}

} // namespace

FtpDownload::FtpDownload(const ProfileSettings &settings, const QString &programDir,
                         DownloadView &view, int startDelayMs, const FetchTrust &trust,
                         QObject *parent)
    : QObject(parent), settings_(settings),
      localFolder_(localFolderFor(settings.ProfileDir, programDir)), programDir_(programDir),
      trust_(trust), view_(view) {
  connect(&Downloader_, &FtpTransfer::StateChanged, this, &FtpDownload::Downloader_StateChanged);
  connect(&Downloader_, &FtpTransfer::PeerAccepted, this,
          [this](const QString &text) { view_.SetCurrentAction(text); });
  StartT.setInterval(startDelayMs);
  connect(&StartT, &QTimer::timeout, this, &FtpDownload::StartT_Timer);
  StartT.start();
}

void FtpDownload::StartT_Timer() {
  StartT.stop();
  if (Downloader_.StillExecuting())
    Downloader_.Cancel();
  Init();
}

void FtpDownload::Init() {
  if (!LetEventsRun())
    return;
  view_.SetCurrentAction(QString());

  Downloader_.RemoteHost = settings_.FtpServer;
  const RemoteServer server = parseRemoteServer(settings_.FtpServer);
  if (server.protocol == TransferProtocol::Unknown) {
    ShowError(QStringLiteral("error: FtpServer \"%1\" names a protocol other than ftp://, "
                             "ftps:// and sftp://")
                  .arg(settings_.FtpServer));
    return;
  }
  const int port = server.port(settings_.FtpPort);
  if (port == 0) {
    ShowError(QStringLiteral("error: FtpPort \"%1\" is not a port number (1 to 65535)")
                  .arg(settings_.FtpPort));
    return;
  }
  Downloader_.RemotePort = port;
  Downloader_.RequestTimeout = qMax(settings_.FtpTimeout, 0);
  Downloader_.Password = settings_.FtpPassword;
  Downloader_.UserName = settings_.FtpUser;
  // A fetched file must be on the disk before its remote copy goes.
  Downloader_.DurableGet = isTrue(settings_.FtpDeleteAfterDownload);
  if (isTrue(settings_.FtpUseProxy))
    Downloader_.Proxy = settings_.FtpProxy;
  Downloader_.CertificatePinFile =
      withTrailingSlash(programDir_) + QLatin1String(kCertificatePinFileName);
  Downloader_.AcceptUnknownPeer =
      server.protocol == TransferProtocol::Sftp ? trust_.acceptHostKey : trust_.acceptCertificate;

  Step = 1;
  CurrentFileIndex = 0;
  FileCount = 0;
  Files = QStringList{QString()};

  view_.SetCurrentAction(QStringLiteral("changing to path on host"));
  if (!Downloader_.Execute(QStringLiteral("CD ") + settings_.FtpRemoteDir)) {
    Downloader_.Cancel();
    outcome_ = DownloadOutcome::NotStarted;
    CloseWindow();
    return;
  }
  LetEventsRun();
}

void FtpDownload::Downloader_StateChanged(int state) {
  // Once closing, only the end of the connection is still shown.
  if (closing_ && state != kFtpDisconnecting && state != kFtpDisconnected)
    return;
  const bool deleteAfter = isTrue(settings_.FtpDeleteAfterDownload);
  switch (state) {
  case kFtpResolvingHost: view_.SetCurrentAction(QStringLiteral("resolving host...")); break;
  case kFtpHostResolved: view_.SetCurrentAction(QStringLiteral("host resolved")); break;
  case kFtpConnecting: view_.SetCurrentAction(QStringLiteral("connecting to host...")); break;
  case kFtpConnected: view_.SetCurrentAction(QStringLiteral("connected")); break;
  case kFtpReceivingResponse:
    if (Step == 2)
      view_.SetCurrentAction(QStringLiteral("receiving directory..."));
    else if (Step == 3)
      view_.SetCurrentAction(progressText(deleteAfter ? QStringLiteral("erasing file")
                                                      : QStringLiteral("receiving file")) +
                             QLatin1String("..."));
    else if (Step == 4)
      view_.SetCurrentAction(progressText(QStringLiteral("receiving file")) + QLatin1String("..."));
    break;
  case kFtpDisconnecting:
    view_.SetCurrentAction(QStringLiteral("disconnecting from host..."));
    break;
  case kFtpDisconnected:
    view_.SetCurrentAction(QStringLiteral("disconnected"));
    CloseWindow();
    break;
  case kFtpError: {
    QString text = QStringLiteral("error:") + numberText(Downloader_.ResponseCode()) +
                   QLatin1String(" - ") + Downloader_.ResponseInfo();
    if (const QString option = Downloader_.AcceptOption(); !option.isEmpty())
      text += QStringLiteral(". If that is the server's, accept it with: kestrum-cli fetch %1 %2")
                  .arg(option, trust_.profileFile.isEmpty() ? QStringLiteral("PROFILE")
                                                            : trust_.profileFile);
    ShowError(text);
    break;
  }
  case kFtpResponseCompleted: Completed(); break;
  default: break;
  }
}

void FtpDownload::Completed() {
  view_.SetCurrentAction(QStringLiteral("completed"));
  const bool deleteAfter = isTrue(settings_.FtpDeleteAfterDownload);
  switch (Step) {
  case 1:
    Step = 2;
    view_.SetCurrentAction(QStringLiteral("looking for files to download"));
    Downloader_.Execute(QStringLiteral("DIR ") + settings_.FtpRemoteFiles);
    break;
  case 2: {
    Step = deleteAfter ? 4 : 3;
    Files = QStringList{QString()};
    const QString response = GetStrFromChunk();
    if (closing_)
      return;
    ParseListing(response);
    if (closing_)
      return;
    if (FileCount == 0 || (!Files.value(1).contains(QLatin1Char('.')) && FileCount <= 1)) {
      Downloader_.Execute(QStringLiteral("CLOSE"));
      DoClose();
      return;
    }
    view_.SetProgressMaximum(FileCount);
    CurrentFileIndex = 1;
    if (!DoDownload())
      FileDone();
    break;
  }
  case 3: FileDone(); break;
  case 4:
    DoKill();
    view_.SetCurrentAction(progressText(QStringLiteral("Erasing file")));
    Step = 3;
    break;
  default: break;
  }
}

// A GET without DELETE, or a DELETE, has completed (or a file was not
// fetched): count it and go on with the next file that is fetched.
void FtpDownload::FileDone() {
  for (;;) {
    view_.SetProgressValue(CurrentFileIndex);
    if (CurrentFileIndex >= FileCount) {
      DoClose();
      return;
    }
    Step = isTrue(settings_.FtpDeleteAfterDownload) ? 4 : 3;
    ++CurrentFileIndex;
    if (DoDownload()) {
      view_.SetCurrentAction(progressText(QStringLiteral("Downloading file")));
      return;
    }
  }
}

// Each CR LF-terminated line is one entry; the last such line is not a
// file, and text behind the last CR LF is ignored.
void FtpDownload::ParseListing(const QString &response) {
  const QLatin1String crlf("\r\n");
  qsizetype position = 0;
  for (qsizetype p = response.indexOf(crlf); p >= 0; p = response.indexOf(crlf, position)) {
    ++FileCount;
    Files.append(response.mid(position, p - position));
    position = p + 2;
    if (!LetEventsRun())
      return;
  }
  if (FileCount > 0)
    --FileCount; // the last line stays in Files but is not counted
}

// Starts the GET of Files(CurrentFileIndex). False when nothing was sent:
// a local file of that name is kept, or the name could leave the folder.
bool FtpDownload::DoDownload() {
  const QString name = Files.value(CurrentFileIndex);
  if (!isSafeName(name)) {
    view_.SetCurrentAction(QStringLiteral("not fetched (unsafe name): ") + name);
    return false;
  }
  const QString local = localFolder_ + name;
  if (isTrue(settings_.FtpOverwriteLocal) && existsLocally(local))
    QFile::remove(local);
  if (existsLocally(local))
    return false;
  Downloader_.Execute(QStringLiteral("GET ") + settings_.FtpRemoteDir + name + QLatin1Char(' ') +
                      local);
  return true;
}

void FtpDownload::DoKill() {
  Downloader_.Execute(QStringLiteral("DELETE ") + settings_.FtpRemoteDir +
                      Files.value(CurrentFileIndex));
}

void FtpDownload::DoClose() {
  if (closing_)
    return;
  closing_ = true;
  if (outcome_ == DownloadOutcome::Running)
    outcome_ = errorShown_ ? DownloadOutcome::Failed : DownloadOutcome::Finished;
  view_.SetCurrentAction(QStringLiteral("closing..."));
  QStringList FList; // the results window's list
  for (int i = 1; i <= FileCount; ++i)
    if (isSafeName(Files.value(i)))
      FList.append(Files.value(i));
  if (isTrue(settings_.FtpShowDownloaded)) {
    view_.Beep();
    if (FileCount > 0)
      view_.ShowResults(FList, localFolder_);
  }
  Downloader_.Execute(QStringLiteral("QUIT"));
  while (Downloader_.StillExecuting())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  CloseWindow();
}

void FtpDownload::CancelBut_Click() {
  if (closing_)
    return;
  outcome_ = errorShown_ ? DownloadOutcome::Failed : DownloadOutcome::Cancelled;
  StartT.stop();
  Downloader_.Cancel();
  DoClose();
}

QString FtpDownload::GetStrFromChunk() {
  QString result;
  QString chunk = Downloader_.GetChunk(kChunkSize);
  LetEventsRun();
  while (!chunk.isEmpty() && !closing_) {
    result += chunk;
    LetEventsRun();
    chunk = Downloader_.GetChunk(kChunkSize);
  }
  return result;
}

void FtpDownload::ShowError(const QString &text) {
  errorShown_ = true;
  view_.SetCurrentAction(text);
  view_.AwaitCancel();
}

void FtpDownload::CloseWindow() {
  if (outcome_ == DownloadOutcome::Running)
    outcome_ = errorShown_ ? DownloadOutcome::Failed : DownloadOutcome::Finished;
  view_.CloseWindow();
  if (!closedSignalled_) {
    closedSignalled_ = true;
    emit Closed();
  }
}

bool FtpDownload::LetEventsRun() {
  QCoreApplication::processEvents();
  return !closing_;
}

QString FtpDownload::progressText(const QString &what) const {
  return what + numberText(CurrentFileIndex) + QLatin1Char('/') + QString::number(FileCount);
}

} // namespace kestrum
