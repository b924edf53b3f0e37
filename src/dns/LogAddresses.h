#pragma once

#include "dns/ResolverConfig.h"

#include <QString>

#include <functional>
#include <string>
#include <unordered_set>

namespace kestrum::dns {

// The unique numeric client addresses of a set of logs, as written in the
// logs (the analyser looks its cache up by that text).
struct LogAddresses {
  std::unordered_set<std::string> addresses;
  unsigned long long lines = 0;
  unsigned long long unparseable = 0;
  int filesRead = 0;
};

// True for a numeric IPv4 (dotted quad) or IPv6 address.
bool IsNumericAddress(const std::string &host);

// The host field of one log line, or false when the line cannot be parsed.
// `w3cHostColumn` carries the c-ip column of the last "#Fields:" line
// (-1 when none was seen) from line to line of one file.
bool HostOfLine(const std::string &line, const HostField &field, int &w3cHostColumn,
                std::string &host);

// Streams every log of `config` (plain or gzip-compressed, wildcards
// expanded), keeping one entry per unique numeric address. A log that cannot
// be opened is reported through `warn` and skipped, as the analyser does.
void CollectLogAddresses(const ResolverConfig &config, LogAddresses &result,
                         const std::function<void(const QString &)> &warn);

} // namespace kestrum::dns
