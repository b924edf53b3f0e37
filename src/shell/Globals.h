#pragma once

#include "Settings.h"

#include <QString>

namespace kestrum {

// The program-wide values that live from start-up to exit.
struct ProgramGlobals {
  QString ProgramDir;   // the program folder, always with a trailing '/'
  QString SettingsFile; // ProgramDir + "Kestrum.KestrumSettings"
  QString CurrentProfilePath;
  bool StartingUp = false;
  QString TimeSpecs; // FROM/TO lines of the run dialog; never saved
  ApplicationSettings Settings;
};

ProgramGlobals &globals();

// Sets ProgramDir (KESTRUM_PROGRAM_DIR, the executable's folder, or for an
// installed Kestrum the user's program folder, filled first) and SettingsFile.
void initProgramPaths(ProgramGlobals &g);

} // namespace kestrum
