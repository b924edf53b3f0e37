#include "DesktopActions.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace kestrum {

void QtDesktopActions::OpenWithShell(const QString &fileOrAddress) {
  const QUrl url = QUrl(fileOrAddress);
  const bool isAddress = url.isValid() && url.scheme().size() > 1; // "C:" is no scheme
  QDesktopServices::openUrl(isAddress ? url : QUrl::fromLocalFile(fileOrAddress));
}

void QtDesktopActions::StartEditor(const QString &argument) {
  QStringList command = QProcess::splitCommand(qEnvironmentVariable("KESTRUM_EDITOR"));
  if (command.isEmpty())
    command << QStringLiteral("xdg-open");
  const QString program = command.takeFirst();
  QProcess::startDetached(program, command << argument);
}

} // namespace kestrum
