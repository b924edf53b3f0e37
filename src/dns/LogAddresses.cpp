#include "dns/LogAddresses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>
#include <zlib.h>

#include <array>
#include <cstring>

namespace kestrum::dns {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The index-th blank-separated token of a line; false when there are fewer.
bool tokenAt(const std::string &line, int index, std::string &token) {
  size_t i = 0;
  for (int t = 0;; ++t) {
    while (i < line.size() && isBlank(line[i]))
      ++i;
    if (i >= line.size())
      return false;
    const size_t start = i;
    while (i < line.size() && !isBlank(line[i]))
      ++i;
    if (t == index) {
      token = line.substr(start, i - start);
      return true;
    }
  }
}

// Common and combined formats: "host ident user [date] ..."; the IIS
// standard format: "host, user, date, ...".
bool hostOfAnalogFormats(const std::string &line, std::string &host) {
  std::string first, fourth;
  if (!tokenAt(line, 0, first))
    return false;
  if (first.size() > 1 && first.back() == ',') {
    host = first.substr(0, first.size() - 1);
    return true;
  }
  if (!tokenAt(line, 3, fourth) || fourth.front() != '[')
    return false;
  host = first;
  return true;
}

int w3cColumnOf(const std::string &fieldsLine) {
  std::string token;
  for (int i = 1; tokenAt(fieldsLine, i, token); ++i)
    if (token == "c-ip")
      return i - 1;
  return -1;
}

// Reads a gzip or plain file line by line (zlib reads plain files as they
// are); a line longer than the buffer is cut, the rest of it skipped.
class LineReader {
public:
  explicit LineReader(const QString &path)
      : file_(gzopen(QFile::encodeName(path).constData(), "rb")) {
    if (file_)
      gzbuffer(file_, 1 << 17);
  }
  ~LineReader() {
    if (file_)
      gzclose(file_);
  }
  LineReader(const LineReader &) = delete;
  LineReader &operator=(const LineReader &) = delete;

  bool isOpen() const { return file_ != nullptr; }

  bool next(std::string &line) {
    if (!gzgets(file_, buffer_.data(), static_cast<int>(buffer_.size())))
      return false;
    size_t length = std::strlen(buffer_.data());
    const bool complete = length > 0 && buffer_[length - 1] == '\n';
    line.assign(buffer_.data(), length);
    while (!complete && length + 1 == buffer_.size() &&
           gzgets(file_, buffer_.data(), static_cast<int>(buffer_.size()))) {
      length = std::strlen(buffer_.data());
      if (length > 0 && buffer_[length - 1] == '\n')
        break;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
      line.pop_back();
    return true;
  }

private:
  gzFile file_;
  std::array<char, 65536> buffer_{};
};

QStringList expandWildcards(const QString &path) {
  const QFileInfo info(path);
  const QString name = info.fileName();
  if (!name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?')))
    return {path};
  const QString dir = path.left(path.size() - name.size());
  QStringList found;
  const QDir folder(dir.isEmpty() ? QStringLiteral(".") : dir);
  for (const QString &entry : folder.entryList({name}, QDir::Files, QDir::Name))
    found << dir + entry;
  return found.isEmpty() ? QStringList{path} : found;
}

} // namespace

bool IsNumericAddress(const std::string &host) {
  std::array<unsigned char, 16> buffer{};
  if (host.empty() || host.size() > 45)
    return false;
  return inet_pton(AF_INET, host.c_str(), buffer.data()) == 1 ||
         inet_pton(AF_INET6, host.c_str(), buffer.data()) == 1;
}

bool HostOfLine(const std::string &line, const HostField &field, int &w3cHostColumn,
                std::string &host) {
  if (field.kind == HostField::Kind::Token) {
    std::string token;
    if (!tokenAt(line, field.token, token) || token.size() <= static_cast<size_t>(field.skip))
      return false;
    host = token.substr(field.skip);
    if (field.stop != '\0')
      host = host.substr(0, host.find(field.stop));
    return !host.empty();
  }
  if (w3cHostColumn >= 0)
    return tokenAt(line, w3cHostColumn, host);
  return hostOfAnalogFormats(line, host);
}

void CollectLogAddresses(const ResolverConfig &config, LogAddresses &result,
                         const std::function<void(const QString &)> &warn) {
  std::string line, host;
  for (const LogSource &source : config.logs) {
    for (const QString &path : expandWildcards(source.path)) {
      LineReader reader(path);
      if (!reader.isOpen() || QFileInfo(path).isDir()) {
        warn(QStringLiteral("Warning F: Failed to open logfile %1: ignoring it").arg(path));
        continue;
      }
      ++result.filesRead;
      int w3cHostColumn = -1;
      while (reader.next(line)) {
        if (line.empty())
          continue;
        if (line.front() == '#') {
          if (line.rfind("#Fields:", 0) == 0)
            w3cHostColumn = w3cColumnOf(line);
          continue;
        }
        ++result.lines;
        if (!HostOfLine(line, source.host, w3cHostColumn, host)) {
          ++result.unparseable;
          continue;
        }
        if (IsNumericAddress(host))
          result.addresses.insert(host);
      }
    }
  }
}

} // namespace kestrum::dns
