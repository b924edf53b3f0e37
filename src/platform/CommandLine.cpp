#include "CommandLine.h"

namespace kestrum {

QStringList SplitWindowsArguments(const QString &parameters) {
  QStringList args;
  QString current;
  bool inArgument = false; // something (maybe an empty "") belongs to current
  bool quoted = false;
  const qsizetype n = parameters.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = parameters[i];
    if (ch == QLatin1Char('\\')) {
      qsizetype slashes = 0;
      while (i < n && parameters[i] == QLatin1Char('\\')) {
        ++slashes;
        ++i;
      }
      inArgument = true;
      if (i < n && parameters[i] == QLatin1Char('"')) {
        current += QString(slashes / 2, QLatin1Char('\\'));
        if (slashes % 2 == 1) {
          current += QLatin1Char('"');
          continue;
        }
        --i; // the quote is read again as a quote
        continue;
      }
      current += QString(slashes, QLatin1Char('\\'));
      --i;
      continue;
    }
    if (ch == QLatin1Char('"')) {
      inArgument = true;
      if (quoted && i + 1 < n && parameters[i + 1] == QLatin1Char('"')) {
        current += QLatin1Char('"');
        ++i;
        continue;
      }
      quoted = !quoted;
      continue;
    }
    if (!quoted && (ch == QLatin1Char(' ') || ch == QLatin1Char('\t'))) {
      if (inArgument)
        args.append(current);
      current.clear();
      inArgument = false;
      continue;
    }
    current += ch;
    inArgument = true;
  }
  if (inArgument)
    args.append(current);
  return args;
}

} // namespace kestrum
