#pragma once

#include "dns/ReverseResolver.h"

#include <QString>

#include <functional>

namespace kestrum::dns {

struct RunSettings {
  QString configFile = QStringLiteral("analog.cfg");
  ResolverOptions resolver;
};

// Where a run reports: `out` gets the progress lines and the summary,
// `err` warnings and errors (one line each, no line end).
struct RunReport {
  std::function<void(const QString &)> out;
  std::function<void(const QString &)> err;
};

// The whole resolver run: reads the command file, collects the logs' unique
// numeric addresses, looks up those without a fresh cache entry, prints a
// progress line per second, and merges the answers into the cache file.
// Returns the exit code: 0 done, 1 failed (the cache file is then as it was).
int RunResolver(const RunSettings &settings, const RunReport &report);

// 1234567 -> "1,234,567".
QString Grouped(unsigned long long number);

} // namespace kestrum::dns
