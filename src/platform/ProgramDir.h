#pragma once

#include <QString>

namespace kestrum {

// The program folder with a trailing '/': KESTRUM_PROGRAM_DIR when set, else
// the folder of the running executable. Data files, analog.cfg, the report
// and the analyser launcher are found through it.
QString resolveProgramDir();

// dir with exactly one trailing '/'.
QString withTrailingSlash(QString dir);

} // namespace kestrum
