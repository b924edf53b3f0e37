#include "ProgramDir.h"

#include <QDir>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace kestrum {

namespace {

// The installed data folder seen from the installed programs' folder
// (<prefix>/lib/kestrum -> <prefix>/share/kestrum), set by the build from the
// install layout.
#ifndef KESTRUM_DATA_FROM_PROGRAMS
#define KESTRUM_DATA_FROM_PROGRAMS "../../share/kestrum"
#endif

bool holdsTemplates(const QString &dir) {
  return QFileInfo(dir + QStringLiteral("Template")).isDir();
}

QString homeDir() {
  const QString home = qEnvironmentVariable("HOME");
  if (!home.isEmpty())
    return home;
  if (const passwd *entry = getpwuid(getuid()))
    return QFile::decodeName(entry->pw_dir);
  return QDir::homePath();
}

} // namespace

QString withTrailingSlash(QString dir) {
  if (!dir.endsWith(QLatin1Char('/')))
    dir.append(QLatin1Char('/'));
  return dir;
}

QString userProgramDir() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and is ignored, as desktops do.
  if (base.isEmpty() || !QDir::isAbsolutePath(base))
    base = homeDir() + QStringLiteral("/.local/share");
  return withTrailingSlash(QDir::cleanPath(base + QStringLiteral("/kestrum")));
}

ProgramLayout layoutForExecutableFolder(const QString &executableDir) {
  ProgramLayout layout;
  layout.executableDir = withTrailingSlash(executableDir);
  layout.programDir = layout.executableDir;
  const QByteArray native = QFile::encodeName(layout.executableDir);
  if (holdsTemplates(layout.executableDir) && access(native.constData(), W_OK) == 0) {
    layout.mode = ProgramLayout::Mode::Portable;
    return layout;
  }
  const QString data = withTrailingSlash(
      QDir::cleanPath(layout.executableDir + QStringLiteral(KESTRUM_DATA_FROM_PROGRAMS)));
  if (holdsTemplates(data)) {
    layout.mode = ProgramLayout::Mode::Installed;
    layout.dataDir = data;
    layout.programDir = userProgramDir();
  }
  return layout;
}

ProgramLayout resolveProgramLayout() {
  const QFileInfo exe(QStringLiteral("/proc/self/exe"));
  const QString executableDir = QFileInfo(exe.canonicalFilePath()).absolutePath();
  const QString fromEnv = qEnvironmentVariable("KESTRUM_PROGRAM_DIR");
  if (!fromEnv.isEmpty()) {
    ProgramLayout layout;
    layout.mode = ProgramLayout::Mode::Override;
    layout.executableDir = withTrailingSlash(executableDir);
    layout.programDir = withTrailingSlash(QDir(fromEnv).absolutePath());
    return layout;
  }
  return layoutForExecutableFolder(executableDir);
}

QString resolveProgramDir() {
  return resolveProgramLayout().programDir;
}

} // namespace kestrum
