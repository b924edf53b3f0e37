#include "SysInfo.h"

#include "Messages.h"
#include "Registry.h"

#include <QFileInfo>
#include <QProcess>

namespace kestrum {

QString SysInfoProgram() {
  QString value;
  if (GetKeyValue(RegistryRoot::LocalMachine,
                  QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                  QStringLiteral("PATH"), value))
    return value;
  if (GetKeyValue(RegistryRoot::LocalMachine,
                  QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                  QStringLiteral("MSINFO"), value)) {
    const QString program = value + QStringLiteral("/MSINFO32.EXE");
    if (QFileInfo(program).isFile())
      return program;
  }
  return {};
}

bool StartSysInfo(Messages &messages, const QString &title,
                  const std::function<bool(const QString &)> &start) {
  const QString program = SysInfoProgram();
  if (!program.isEmpty() && start(program))
    return true;
  messages.show(QStringLiteral("System Information Is Unavailable At This Time"), MessageIcon::None,
                title);
  return false;
}

bool StartProgramDetached(const QString &program) {
  return QProcess::startDetached(program, {});
}

} // namespace kestrum
