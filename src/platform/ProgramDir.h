#pragma once

#include <QString>

namespace kestrum {

// Where the program folder is and how it was found.
//  - Override: KESTRUM_PROGRAM_DIR names it.
//  - Portable: the executable's folder, a writable folder holding Template/
//    (the folder the build assembles, or a copy of it).
//  - Installed: the executable lies in <prefix>/lib/kestrum beside the
//    read-only data in <prefix>/share/kestrum (found relative to the
//    executable, so the installed tree can be moved); the program folder is
//    then the user's own ($XDG_DATA_HOME/kestrum), filled from the installed
//    files on start (ProgramFolderSeeding.h).
//  - Otherwise the executable's folder, as in the portable case.
struct ProgramLayout {
  enum class Mode { Override, Portable, Installed, ExecutableFolder };
  Mode mode = Mode::ExecutableFolder;
  QString programDir;    // the program folder, with a trailing '/'
  QString executableDir; // the running program's folder, with a trailing '/'
  QString dataDir;       // Installed: the read-only data folder, with a trailing '/'
};

// Works the layout out from the environment and the executable's location;
// creates nothing.
ProgramLayout resolveProgramLayout();
// The layout for an executable in executableDir (no override considered).
ProgramLayout layoutForExecutableFolder(const QString &executableDir);

// The program folder with a trailing '/' (resolveProgramLayout().programDir).
// Data files, analog.cfg, the report and the analyser launcher are found
// through it.
QString resolveProgramDir();

// The per-user program folder of an installed Kestrum: $XDG_DATA_HOME/kestrum/
// (an absolute XDG_DATA_HOME only), else ~/.local/share/kestrum/.
QString userProgramDir();

// dir with exactly one trailing '/'.
QString withTrailingSlash(QString dir);

} // namespace kestrum
