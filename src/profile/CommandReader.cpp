#include "CommandReader.h"

#include "platform/Ansi.h"
#include "platform/FileIO.h"

#include <QDir>
#include <QFileInfo>

namespace kestrum {
namespace {

bool isBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

// Splits a command line into its words; a word starting with '"', '\'' or
// '(' runs to the matching close. Returns false when an enclosure is never
// closed. A '#' outside an enclosure starts the trailing comment.
bool splitWords(const QString &text, QStringList &words) {
  const qsizetype n = text.size();
  qsizetype pos = 0;
  while (pos < n) {
    while (pos < n && isBlank(text[pos]))
      ++pos;
    if (pos >= n || text[pos] == u'#')
      break;
    const QChar c = text[pos];
    if (!words.isEmpty() && (c == u'"' || c == u'\'' || c == u'(')) {
      const QChar close = c == u'(' ? QChar(u')') : c;
      const qsizetype end = text.indexOf(close, pos + 1);
      if (end < 0)
        return false;
      words.append(text.mid(pos + 1, end - pos - 1));
      pos = end + 1;
      continue;
    }
    const qsizetype start = pos;
    while (pos < n && !isBlank(text[pos]) && text[pos] != u'#')
      ++pos;
    words.append(text.mid(start, pos - start));
  }
  return true;
}

CommandLine readLine(const QString &joined, const QString &file, int line) {
  CommandLine out;
  out.file = file;
  out.line = line;
  out.text = joined.trimmed();
  if (out.text.startsWith(u'#')) {
    out.kind = CommandLine::Comment;
    out.text = joined;
    return out;
  }
  if (joined.size() > kMaxCommandLineLength) {
    out.kind = CommandLine::Unread;
    out.problem = QStringLiteral("longer than the analyser's %1 characters (%2)")
                      .arg(kMaxCommandLineLength)
                      .arg(joined.size());
    return out;
  }
  QStringList words;
  if (!splitWords(out.text, words)) {
    out.kind = CommandLine::Unread;
    out.problem = QStringLiteral("a quote or parenthesis is not closed");
    return out;
  }
  out.name = words.takeFirst().toUpper();
  out.arguments = words;
  return out;
}

class Reader {
public:
  explicit Reader(CommandFile &out) : out_(out) {}

  Result readFile(const QString &path, int depth) {
    if (Result r = checkRegularFile(path, false); !r.ok())
      return r;
    if (QFileInfo(path).size() > kMaxCommandFileSize)
      return Result::failure(
          QStringLiteral("%1 is larger than %2 MiB: not an analyser command file")
              .arg(path)
              .arg(kMaxCommandFileSize >> 20));
    QByteArray bytes;
    if (Result r = readSmallFile(path, kMaxCommandFileSize, bytes); !r.ok())
      return r;
    if (bytes.contains('\0'))
      return Result::failure(
          QStringLiteral("%1 is a binary file, not an analyser command file").arg(path));
    const QString canonical = QFileInfo(path).canonicalFilePath();
    open_.append(canonical);
    readText(fromAnsi(bytes), path, depth);
    open_.removeLast();
    return Result::success();
  }

  void readText(const QString &text, const QString &file, int depth) {
    QStringList physical = text.split(u'\n');
    if (physical.last().isEmpty())
      physical.removeLast(); // the final line end
    for (int i = 0; i < physical.size(); ++i) {
      const int first = i + 1;
      QString joined = physical[i];
      if (joined.endsWith(u'\r'))
        joined.chop(1);
      if (joined.trimmed().isEmpty()) {
        ++out_.blankLines;
        continue;
      }
      while (!joined.trimmed().startsWith(u'#') && joined.endsWith(u'\\') &&
             i + 1 < physical.size()) {
        joined.chop(1);
        QString next = physical[++i];
        if (next.endsWith(u'\r'))
          next.chop(1);
        joined += next;
      }
      CommandLine line = readLine(joined, file, first);
      if (line.kind == CommandLine::Unread)
        out_.problems.append({file, first, line.problem});
      if (line.kind == CommandLine::Command && line.name == QLatin1String("CONFIGFILE") &&
          line.arguments.size() == 1)
        include(line, depth);
      else
        out_.lines.append(line);
    }
  }

private:
  void include(CommandLine line, int depth) {
    const QString name = line.arguments[0];
    const QString path =
        QDir::isAbsolutePath(name) ? name : QFileInfo(line.file).absoluteDir().filePath(name);
    QString why;
    bool keep = true;
    if (open_.contains(QFileInfo(path).canonicalFilePath())) {
      why = QStringLiteral("CONFIGFILE %1 includes a file that is being read already (a loop): "
                           "not followed")
                .arg(name);
      keep = false;
    } else if (depth + 1 > kMaxIncludeDepth) {
      why = QStringLiteral("CONFIGFILE %1 is nested more than %2 deep: not followed")
                .arg(name)
                .arg(kMaxIncludeDepth);
    } else if (Result r = readFile(path, depth + 1); !r.ok()) {
      why = QStringLiteral("CONFIGFILE %1 cannot be read: %2").arg(name, r.error);
    } else {
      ++out_.includedFiles;
      return;
    }
    out_.problems.append({line.file, line.line, why});
    if (keep) {
      line.kind = CommandLine::Unread;
      line.problem = why;
      out_.lines.append(line);
    }
  }

  CommandFile &out_;
  QStringList open_; // the files being read, outermost first
};

} // namespace

Result ReadCommandFile(const QString &path, CommandFile &out) {
  CommandFile read;
  if (Result r = Reader(read).readFile(path, 0); !r.ok())
    return r;
  out = std::move(read);
  return Result::success();
}

void ReadCommandText(const QString &text, const QString &fileName, CommandFile &out) {
  Reader(out).readText(text, fileName, 0);
}

} // namespace kestrum
