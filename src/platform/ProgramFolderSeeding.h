#pragma once

// The per-user program folder of an installed Kestrum, filled from the
// installed files when any of the programs starts:
//  - copied, the user's own to change: the files of Template/ and the tips;
//  - linked to the installed ones: the other data files (sample log, help
//    pages, docs/) and the programs a run starts (the analog launcher and
//    kestrum-dns when it is installed);
//  - the installed Tellurix control registered in the folder's registry.
// A copy is recorded with the hash of the installed file it came from
// (kSeedRecordFile). A later start copies a newer installed file over a copy
// the user left unchanged; a copy the user changed is kept and the newer file
// is added beside it as "NAME (installed).EXT" (then "(installed 2)", ...).
// A missing copy is made again. Starts that overlap wait for each other.

#include "ProgramDir.h"
#include "Result.h"

namespace kestrum {

inline constexpr char kTellurixProgId[] = "BrannockTellurix.Tellurix";
inline constexpr char kTellurixLibraryFile[] = "libtellurix.so";
inline constexpr char kSeedRecordFile[] = ".kestrum-seeded";

// Does the above for an Installed layout; any other layout is left alone.
// Goes on after a failing file and answers the first failure.
Result seedProgramFolder(const ProgramLayout &layout);

// seedProgramFolder(resolveProgramLayout()), the failure printed on standard
// error (the program goes on; what it misses it reports itself). Answers the
// layout, so that a caller does not work it out again.
ProgramLayout prepareProgramFolder();

} // namespace kestrum
