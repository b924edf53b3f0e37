#pragma once

#include <QString>

#include <functional>

namespace kestrum {

class Messages;

// The system-information program the registry names: the value "PATH" of
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, else
// "MSINFO32.EXE" in the folder that "MSINFO" of ...\Shared Tools Location
// names, when that file exists. Empty when neither is there.
QString SysInfoProgram();

// Starts the system-information program (start returns false when it could
// not be started); otherwise shows "System Information Is Unavailable At This
// Time" with the given title. True when the program was started.
bool StartSysInfo(Messages &messages, const QString &title,
                  const std::function<bool(const QString &program)> &start);

// Starts program detached, without a shell.
bool StartProgramDetached(const QString &program);

} // namespace kestrum
