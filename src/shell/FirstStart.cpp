#include "FirstStart.h"

#include "Globals.h"
#include "MForm.h"
#include "TabStrip.h"

namespace kestrum {

QString ProfileArgument(const QStringList &arguments) {
  if (arguments.size() < 2)
    return {};
  QString path = arguments.at(1);
  if (path.startsWith(QLatin1Char('"')))
    path.remove(0, 1);
  if (path.endsWith(QLatin1Char('"')))
    path.chop(1);
  return path;
}

void ShowFirstProfile(MForm &window, const QString &profilePath) {
  ProgramGlobals &g = globals();
  g.CurrentProfilePath = profilePath.isEmpty()
                             ? g.ProgramDir + QStringLiteral("Template/Default.Kestrum")
                             : profilePath;
  // A profile that cannot be read leaves the window empty; it still opens.
  window.OpenData();
  window.AliasBoxUpdate();
  window.ExBoxUpdate();
  window.InitWindow();
  window.MainTab()->setCurrentIndex(0);
  window.show();
}

} // namespace kestrum
