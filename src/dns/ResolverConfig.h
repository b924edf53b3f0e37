#pragma once

#include <QString>

#include <string>
#include <vector>

namespace kestrum::dns {

// Where the client address stands in a log line.
struct HostField {
  // Auto: the analyser's own formats (common, combined, IIS, W3C extended
  // with a "#Fields:" line). Token: the token-th blank-separated field of a
  // LOGFORMAT/APACHELOGFORMAT, with `skip` leading characters (e.g. "[")
  // removed and cut at `stop` when that is not '\0'.
  enum class Kind { Auto, Token } kind = Kind::Auto;
  int token = 0;
  int skip = 0;
  char stop = '\0';
};

struct LogSource {
  QString path; // as the analyser will open it (before wildcard expansion)
  HostField host;
};

// What the resolver takes from the analyser's command file.
struct ResolverConfig {
  std::vector<LogSource> logs;
  QString dnsFile;
  long long goodHours = 100000; // the analyser's defaults
  long long badHours = 336;
};

// Reads LOGFILE (several, comma lists), LOGFORMAT/APACHELOGFORMAT (for the
// LOGFILE commands after them), DEFAULTLOGFORMAT/APACHEDEFAULTLOGFORMAT,
// DNSFILE, DNSGOODHOURS and DNSBADHOURS with the analyser's syntax (quotes,
// parentheses, # comments, case-insensitive commands). Names are resolved as
// Debian's analog does: a name without '/' lies in its compiled-in folder,
// any other name is taken as written (relative to the current folder).
// Returns false with `error` set when the file cannot be read.
bool ReadResolverConfig(const QString &path, ResolverConfig &config, QString &error);

// Parses a LOGFORMAT (analog codes, host %S) or APACHELOGFORMAT (host %h or
// %a) value; a named format ("COMBINED", "AUTO", ...) gives Auto.
HostField HostFieldOfFormat(const std::string &format, bool apache);

// Splits one command line into command and arguments as the analyser does;
// empty for a blank or comment line.
std::vector<std::string> SplitConfigLine(const std::string &line);

// The analyser's compiled-in folders for bare names.
inline constexpr const char *kLogDir = "/var/log/apache/";
inline constexpr const char *kDnsDir = "/var/cache/analog/dns/";

} // namespace kestrum::dns
