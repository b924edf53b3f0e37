#pragma once

#include <QString>

#include <string>
#include <unordered_set>
#include <vector>

namespace kestrum::dns {

// One line of the analyser's DNS cache: "MINUTES ADDRESS NAME", MINUTES
// since 1970 (UTC), NAME "*" for an address without a name.
struct CacheLine {
  long long minutes = 0;
  std::string address;
  std::string name;
};

// Parses a line as the analyser does (exactly three blank-separated words,
// a non-zero number first, shorter than 255 characters); false for a
// damaged line.
bool ParseCacheLine(const std::string &line, CacheLine &entry);

// Whether the analyser would still trust an entry at `nowMinutes`:
// resolved entries for goodHours, unresolved ones for badHours, and none
// dated more than a week ahead.
bool IsFresh(const CacheLine &entry, long long nowMinutes, long long goodHours, long long badHours);

// The existing cache file: its lines as they stand, and the addresses that
// have a fresh entry.
class DnsCacheFile {
public:
  // A missing file reads as empty; false with `error` when it exists but
  // cannot be read.
  bool read(const QString &path, long long nowMinutes, long long goodHours, long long badHours,
            QString &error);

  bool isFresh(const std::string &address) const { return fresh_.count(address) != 0; }
  size_t lineCount() const { return lines_.size(); }

  // Writes the old lines, minus the entries of the re-resolved addresses,
  // then one line per look-up, to a temporary file renamed over `path`.
  // A name the analyser could not read back (blanks, too long) is written
  // as unresolved. On failure the old file is left as it was.
  bool writeMerged(const QString &path, const std::vector<std::string> &addresses,
                   const std::vector<std::string> &names, long long minutes, QString &error) const;

private:
  std::vector<std::string> lines_;
  std::unordered_set<std::string> fresh_;
};

} // namespace kestrum::dns
