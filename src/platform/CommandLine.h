#pragma once

#include <QString>
#include <QStringList>

namespace kestrum {

// Splits the parameter part of a Windows command line into arguments the way
// Windows programs read their command line: blanks and tabs separate
// arguments outside double quotes; a double quote starts or ends a quoted
// stretch; "" inside a quoted stretch is one literal quote; 2n backslashes
// before a quote give n backslashes (the quote still counts), 2n+1 give n
// backslashes and a literal quote; other backslashes are plain characters.
QStringList SplitWindowsArguments(const QString &parameters);

} // namespace kestrum
