#pragma once

// The analyser writes its pie charts (*.png) beside the report unless told
// otherwise. A run tells it, on its command line, to put them into a folder
// beside the report named after it ("Report.html" -> "Report_files/"), so
// the program folder is not cluttered and analog.cfg stays as written.

#include <QString>
#include <QStringList>

#include <optional>

namespace kestrum {

struct ChartFolder {
  QString localDir;      // where the charts are written: absolute, with a trailing '/'
  QStringList arguments; // the analyser's command-line commands that say so
};

// The chart folder for a run of the command file at configPath, with
// programDir the analyser's working folder. None (charts go where the
// analyser puts them) when the command file cannot be read, sets CHARTDIR or
// LOCALCHARTDIR itself (the user's choice wins), names no OUTFILE, writes the
// report to standard output, or names it with date codes or characters that
// cannot stand in an <img> address or a quoted command argument.
std::optional<ChartFolder> ChartFolderFor(const QString &configPath, const QString &programDir);

} // namespace kestrum
