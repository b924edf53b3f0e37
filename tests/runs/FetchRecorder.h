#pragma once

// Runs the headless log download (as kestrum-cli fetch does) and keeps the
// texts it showed.

#include "runs/FetchLogs.h"

#include <QStringList>

namespace kestrum::test {

struct Fetch {
  DownloadOutcome outcome = DownloadOutcome::Running;
  QStringList texts;
  bool said(const QString &text) const { return texts.contains(text); }
  QString firstError() const {
    for (const QString &t : texts)
      if (t.startsWith(QLatin1String("error:")))
        return t;
    return {};
  }
  QString all() const { return texts.join(QLatin1Char('\n')); }
};

inline Fetch fetchLogs(const ProfileSettings &settings, const QString &programDir,
                       const FetchTrust &trust = {}) {
  Fetch f;
  f.outcome = FetchLogs(
      settings, programDir, [&f](const QString &text) { f.texts << text; }, trust);
  return f;
}

} // namespace kestrum::test
