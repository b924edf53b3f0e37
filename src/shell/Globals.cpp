#include "Globals.h"

#include "platform/ProgramFolderSeeding.h"

namespace kestrum {

ProgramGlobals &globals() {
  static ProgramGlobals instance;
  return instance;
}

void initProgramPaths(ProgramGlobals &g) {
  g.ProgramDir = prepareProgramFolder().programDir;
  g.SettingsFile = g.ProgramDir + QStringLiteral("Kestrum.KestrumSettings");
}

} // namespace kestrum
