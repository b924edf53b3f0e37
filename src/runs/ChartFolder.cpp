#include "ChartFolder.h"

#include "profile/CommandReader.h"

#include <QDir>
#include <QFileInfo>

namespace kestrum {

namespace {

// Characters the folder's name may not hold: '%' starts the analyser's date
// codes, '"' would end the quoted argument, '#' and '?' would cut the image
// address in the report, '\' is taken as an escape.
bool usableName(const QString &name) {
  for (const QChar c : name)
    if (c == u'%' || c == u'"' || c == u'#' || c == u'?' || c == u'\\' || c.unicode() < 0x20)
      return false;
  return !name.isEmpty();
}

} // namespace

std::optional<ChartFolder> ChartFolderFor(const QString &configPath, const QString &programDir) {
  CommandFile commands;
  if (!ReadCommandFile(configPath, commands).ok())
    return std::nullopt;
  QString outFile;
  for (const CommandLine &line : commands.lines) {
    if (line.kind != CommandLine::Command)
      continue;
    if (line.name == QLatin1String("CHARTDIR") || line.name == QLatin1String("LOCALCHARTDIR"))
      return std::nullopt;
    if (line.name == QLatin1String("OUTFILE") && !line.arguments.isEmpty())
      outFile = line.arguments.first(); // the last one counts
  }
  if (outFile.isEmpty() || outFile == QLatin1String("-") ||
      outFile.compare(QLatin1String("stdout"), Qt::CaseInsensitive) == 0)
    return std::nullopt;

  const QFileInfo report(QDir(programDir).absoluteFilePath(outFile));
  const QString name = report.completeBaseName() + QStringLiteral("_files/");
  if (!usableName(report.fileName()) || !usableName(report.absolutePath()) ||
      report.completeBaseName().isEmpty())
    return std::nullopt;
  ChartFolder folder;
  folder.localDir = QDir(report.absolutePath()).filePath(name);
  // CHARTDIR goes in front of the image names in the report's <img> links,
  // LOCALCHARTDIR in front of the files written.
  folder.arguments = {QStringLiteral("+CCHARTDIR \"%1\"").arg(name),
                      QStringLiteral("+CLOCALCHARTDIR \"%1\"").arg(folder.localDir)};
  return folder;
}

} // namespace kestrum
