#include "dns/ResolverConfig.h"

#include <QFile>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace kestrum::dns {

namespace {

std::string upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

QString analogName(const std::string &name, const char *compiledDir) {
  const QString decoded = QFile::decodeName(QByteArray::fromStdString(name));
  if (name.find('/') == std::string::npos)
    return QString::fromLatin1(compiledDir) + decoded;
  return decoded;
}

std::vector<std::string> splitCommas(const std::string &list) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    if (comma > start)
      parts.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return parts;
}

// Hours as the analyser reads an unsigned number; anything else keeps the
// value it had.
void readHours(const std::string &text, long long &hours) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
    return;
  hours = std::strtoll(text.c_str(), nullptr, 10);
}

} // namespace

std::vector<std::string> SplitConfigLine(const std::string &line) {
  std::vector<std::string> words;
  size_t i = 0;
  const size_t n = line.size();
  while (i < n) {
    while (i < n && std::isspace(static_cast<unsigned char>(line[i])))
      ++i;
    if (i >= n || line[i] == '#')
      break;
    const char open = line[i];
    const char close = open == '"' ? '"' : open == '\'' ? '\'' : open == '(' ? ')' : '\0';
    if (close != '\0' && !words.empty()) {
      const size_t end = line.find(close, i + 1);
      if (end != std::string::npos) {
        words.push_back(line.substr(i + 1, end - i - 1));
        i = end + 1;
        continue;
      }
    }
    const size_t start = i;
    while (i < n && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != '#')
      ++i;
    words.push_back(line.substr(start, i - start));
  }
  return words;
}

HostField HostFieldOfFormat(const std::string &format, bool apache) {
  HostField field;
  if (format.find('%') == std::string::npos)
    return field; // a named format: the analyser recognises it itself
  // The analyser reads %s as the host when there is no %S.
  const char analogHost =
      format.find("%S") == std::string::npos && format.find("%*S") == std::string::npos ? 's' : 'S';
  int token = 0;
  bool inToken = false;
  size_t tokenStart = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    const bool blank =
        c == ' ' || c == '\t' || (c == '%' && i + 1 < format.size() && format[i + 1] == 'w');
    if (blank) {
      if (inToken)
        ++token;
      inToken = false;
      if (c == '%')
        ++i;
      continue;
    }
    if (!inToken) {
      inToken = true;
      tokenStart = i;
    }
    if (c != '%' || i + 1 >= format.size())
      continue;
    size_t code = i + 1;
    if (!apache && format[code] == '*') // "not counted": the field is still read
      ++code;
    if (apache)
      while (code < format.size() &&
             (std::isdigit(static_cast<unsigned char>(format[code])) || format[code] == ',' ||
              format[code] == '!' || format[code] == '<' || format[code] == '>'))
        ++code;
    if (code >= format.size()) {
      i = code;
      continue;
    }
    const char letter = format[code];
    if (apache ? (letter == 'h' || letter == 'a') : letter == analogHost) {
      field.kind = HostField::Kind::Token;
      field.token = token;
      field.skip = static_cast<int>(i - tokenStart);
      const size_t after = code + 1;
      field.stop = after < format.size() && format[after] != '%' && format[after] != ' ' &&
                           format[after] != '\t'
                       ? format[after]
                       : '\0';
      return field;
    }
    i = code;
  }
  return field; // no host in the format: fall back to the analyser's formats
}

bool ReadResolverConfig(const QString &path, ResolverConfig &config, QString &error) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  if (!in) {
    error = QStringLiteral("cannot read the command file %1").arg(path);
    return false;
  }
  config = ResolverConfig{};
  config.dnsFile = analogName("dnscache", kDnsDir);
  HostField current;
  bool currentSet = false;
  HostField fallback;
  std::vector<bool> explicitFormat;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.size() >= 255)
      continue; // the analyser ignores such lines too
    const auto words = SplitConfigLine(line);
    if (words.size() < 2)
      continue;
    const std::string command = upper(words[0]);
    if (command == "LOGFILE") {
      for (const auto &name : splitCommas(words[1])) {
        if (name == "stdin" || name == "-")
          continue;
        config.logs.push_back({analogName(name, kLogDir), current});
        explicitFormat.push_back(currentSet);
      }
    } else if (command == "LOGFORMAT" || command == "APACHELOGFORMAT") {
      current = HostFieldOfFormat(words[1], command == "APACHELOGFORMAT");
      currentSet = true;
    } else if (command == "DEFAULTLOGFORMAT" || command == "APACHEDEFAULTLOGFORMAT") {
      fallback = HostFieldOfFormat(words[1], command == "APACHEDEFAULTLOGFORMAT");
    } else if (command == "DNSFILE") {
      config.dnsFile = analogName(words[1], kDnsDir);
    } else if (command == "DNSGOODHOURS") {
      readHours(words[1], config.goodHours);
    } else if (command == "DNSBADHOURS") {
      readHours(words[1], config.badHours);
    }
  }
  for (size_t i = 0; i < config.logs.size(); ++i)
    if (!explicitFormat[i])
      config.logs[i].host = fallback;
  if (config.logs.empty())
    config.logs.push_back({analogName("access.log", kLogDir), fallback});
  return true;
}

} // namespace kestrum::dns
