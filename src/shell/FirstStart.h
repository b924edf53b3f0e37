#pragma once

#include <QString>
#include <QStringList>

namespace kestrum {

class MForm;

// The profile path of the command line (arguments[0] is the program): one
// leading and one trailing double quote are removed. Empty without one.
QString ProfileArgument(const QStringList &arguments);

// Opens the first profile in the hidden window and shows it: the given path,
// else the default template; then the lists are refilled, the window set up
// and the first page brought to the front.
void ShowFirstProfile(MForm &window, const QString &profilePath);

} // namespace kestrum
