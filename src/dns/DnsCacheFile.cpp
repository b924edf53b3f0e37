#include "dns/DnsCacheFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cctype>
#include <cstdlib>

namespace kestrum::dns {

namespace {

constexpr long long kMinutesInWeek = 7 * 24 * 60;
// The analyser writes a line only when address and name together stay
// below this length, so that it can read it back.
constexpr size_t kMaxAddressAndName = 240;

bool writableName(const std::string &address, const std::string &name) {
  if (name.empty() || address.size() + name.size() >= kMaxAddressAndName)
    return false;
  for (unsigned char c : name)
    if (c <= ' ' || c == 0x7f)
      return false;
  return true;
}

} // namespace

bool ParseCacheLine(const std::string &line, CacheLine &entry) {
  if (line.size() >= 255)
    return false;
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ')
      ++i;
    if (i >= line.size())
      break;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ')
      ++i;
    words.push_back(line.substr(start, i - start));
  }
  if (words.size() != 3 || !std::isdigit(static_cast<unsigned char>(words[0][0])))
    return false;
  entry.minutes = std::strtoll(words[0].c_str(), nullptr, 10);
  if (entry.minutes <= 0)
    return false;
  entry.address = words[1];
  entry.name = words[2];
  return true;
}

bool IsFresh(const CacheLine &entry, long long nowMinutes, long long goodHours,
             long long badHours) {
  const long long hours = entry.name == "*" ? badHours : goodHours;
  const long long oldest = nowMinutes > hours * 60 ? nowMinutes - hours * 60 : 0;
  return entry.minutes >= oldest && entry.minutes <= nowMinutes + kMinutesInWeek;
}

bool DnsCacheFile::read(const QString &path, long long nowMinutes, long long goodHours,
                        long long badHours, QString &error) {
  lines_.clear();
  fresh_.clear();
  QFile file(path);
  if (!file.exists())
    return true;
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read the DNS cache %1: %2").arg(path, file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  CacheLine entry;
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0)
      end = bytes.size();
    std::string line(bytes.constData() + start, static_cast<size_t>(end - start));
    start = end + 1;
    std::string text = line;
    if (!text.empty() && text.back() == '\r')
      text.pop_back();
    if (ParseCacheLine(text, entry) && IsFresh(entry, nowMinutes, goodHours, badHours))
      fresh_.insert(entry.address);
    lines_.push_back(std::move(line));
  }
  return true;
}

bool DnsCacheFile::writeMerged(const QString &path, const std::vector<std::string> &addresses,
                               const std::vector<std::string> &names, long long minutes,
                               QString &error) const {
  const std::unordered_set<std::string> replaced(addresses.begin(), addresses.end());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    error = QStringLiteral("cannot write the DNS cache %1: %2").arg(path, file.errorString());
    return false;
  }
  CacheLine entry;
  std::string out;
  for (const std::string &line : lines_) {
    std::string text = line;
    if (!text.empty() && text.back() == '\r')
      text.pop_back();
    if (ParseCacheLine(text, entry) && replaced.count(entry.address))
      continue;
    out = line;
    out += '\n';
    file.write(out.data(), static_cast<qint64>(out.size()));
  }
  const std::string stamp = std::to_string(minutes);
  for (size_t i = 0; i < addresses.size(); ++i) {
    const std::string &name = writableName(addresses[i], names[i]) ? names[i] : "*";
    out = stamp + ' ' + addresses[i] + ' ' + name + '\n';
    file.write(out.data(), static_cast<qint64>(out.size()));
  }
  if (!file.commit()) {
    error = QStringLiteral("cannot write the DNS cache %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

} // namespace kestrum::dns
