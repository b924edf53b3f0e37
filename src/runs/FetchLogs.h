#pragma once

#include "FtpDownload.h"

#include <functional>

namespace kestrum {

// The log download of a profile without a window, for kestrum-cli: prints
// every progress text through print as it changes. Where the window would
// wait for "Cancel" after an "error:" text, it cancels as a user would, so
// it never waits for anyone. Returns when the exchange has ended.
DownloadOutcome FetchLogs(const ProfileSettings &settings, const QString &programDir,
                          const std::function<void(const QString &)> &print,
                          const FetchTrust &trust = {});

} // namespace kestrum
