#include "Globals.h"

#include "platform/ProgramDir.h"
#include "platform/ProgramFolderSeeding.h"

namespace kestrum {

ProgramGlobals &globals() {
  static ProgramGlobals instance;
  return instance;
}

void initProgramPaths(ProgramGlobals &g) {
  prepareProgramFolder();
  g.ProgramDir = resolveProgramDir();
  g.SettingsFile = g.ProgramDir + QStringLiteral("Kestrum.KestrumSettings");
}

} // namespace kestrum
