#include "DnsCleanup.h"

#include "platform/FileIO.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

namespace kestrum {
namespace {

constexpr qint64 kChunk = 1 << 20;

// Reads the delimited records of a byte stream fed in chunks and hands each
// finished record to a sink.
class RecordReader {
public:
  template <typename Sink> void feed(const char *data, qint64 size, Sink &&sink) {
    const char *end = data + size;
    for (const char *p = data; p < end;) {
      if (afterCr_) {
        afterCr_ = false;
        if (*p == '\n') {
          ++p; // CR LF is one line end
          continue;
        }
      }
      switch (state_) {
      case State::Start:
        if (*p == ' ') {
          ++p;
          continue;
        }
        if (*p == '"') {
          state_ = State::Quoted;
          ++p;
          continue;
        }
        state_ = State::Plain;
        [[fallthrough]];
      case State::Plain: {
        // Whole runs of plain bytes at a time: this is where the time goes.
        const char *stop = p;
        while (stop < end && !isDelimiter(*stop))
          ++stop;
        record_.append(p, size_t(stop - p));
        p = stop;
        if (p < end)
          finish(*p++, sink);
        break;
      }
      case State::Quoted: {
        const auto *quote = static_cast<const char *>(std::memchr(p, '"', size_t(end - p)));
        const char *stop = quote ? quote : end;
        record_.append(p, size_t(stop - p));
        p = stop;
        if (quote) {
          state_ = State::AfterQuote;
          ++p;
        }
        break;
      }
      case State::AfterQuote:
        if (isDelimiter(*p))
          finish(*p, sink);
        ++p;
        break;
      }
    }
  }

  // The record the input ends in, when it does not end with a delimiter.
  template <typename Sink> void end(Sink &&sink) {
    if (state_ != State::Start || !record_.empty())
      sink(record_);
    record_.clear();
    state_ = State::Start;
  }

private:
  enum class State { Start, Plain, Quoted, AfterQuote };

  static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

  template <typename Sink> void finish(char delimiter, Sink &&sink) {
    afterCr_ = delimiter == '\r';
    sink(record_);
    record_.clear();
    state_ = State::Start;
  }

  State state_ = State::Start;
  bool afterCr_ = false;
  std::string record_; // clear() keeps its room for the next record
};

Result copyFile(const QString &from, const QString &to) {
  QFile in(from);
  if (!in.open(QIODevice::ReadOnly))
    return Result::failure(QStringLiteral("Cannot read %1: %2").arg(from, in.errorString()));
  ReplacingFile out(to);
  if (Result r = out.open(); !r.ok())
    return r;
  QByteArray buffer(kChunk, Qt::Uninitialized);
  for (qint64 n; (n = in.read(buffer.data(), kChunk)) != 0;) {
    if (n < 0)
      return Result::failure(QStringLiteral("Cannot read %1: %2").arg(from, in.errorString()));
    if (Result r = out.write(buffer.constData(), n); !r.ok())
      return r;
  }
  return out.commit();
}

// The backup is the cache's own bytes under the new name. The cache is
// never changed in place (the clean copy replaces it by a rename), so a hard
// link is that copy without copying a byte; where links cannot be made the
// bytes are copied.
Result backUp(const QString &cache, const QString &backup) {
  if (Result r = checkRegularFile(backup, true); !r.ok())
    return r;
  const QByteArray from = QFile::encodeName(cache);
  const QByteArray to = QFile::encodeName(backup);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray link = to + ".link" + QByteArray::number(attempt);
    if (::link(from.constData(), link.constData()) == 0) {
      if (::rename(link.constData(), to.constData()) == 0)
        return Result::success();
      const int error = errno;
      ::unlink(link.constData());
      return Result::failure(QStringLiteral("Cannot write %1: %2")
                                 .arg(backup, QString::fromLocal8Bit(std::strerror(error))));
    }
    if (errno != EEXIST)
      break;
  }
  return copyFile(cache, backup);
}

} // namespace

Result DeleteUnresolvedDns(const QString &programDir, const QString &name,
                           const std::function<void(int)> &percent) {
  if (name.isEmpty())
    return Result::failure(QStringLiteral("No DNS cache file is selected."));
  if (name.contains(QLatin1Char('/')))
    return Result::failure(
        QStringLiteral("%1 is not a file of the program folder %2.").arg(name, programDir));
  const QString cache = programDir + name;
  const QString backup = programDir + QStringLiteral("Old ") + name;
  if (Result r = checkRegularFile(cache, false); !r.ok())
    return r;

  // The backup first: whatever happens later, the entries are kept there.
  if (Result r = backUp(cache, backup); !r.ok())
    return r;

  QFile in(backup);
  if (!in.open(QIODevice::ReadOnly))
    return Result::failure(QStringLiteral("Cannot read %1: %2").arg(backup, in.errorString()));
  ReplacingFile out(cache);
  if (Result r = out.open(); !r.ok())
    return r;

  const qint64 total = in.size();
  qint64 done = 0;
  int shown = 0;
  std::string kept;
  kept.reserve(2 * kChunk);
  Result failed;
  const auto keep = [&](const std::string &record) {
    done += qint64(record.size());
    if (record.empty() || record.back() != '*') {
      kept += record;
      kept += "\r\n";
    }
    const int now = total > 0 ? int(done * 100 / total) : 0;
    if (now != shown && percent) {
      shown = now;
      percent(now);
    }
  };
  const auto flush = [&] {
    if (failed.ok() && !kept.empty())
      failed = out.write(kept.data(), qint64(kept.size()));
    kept.clear();
  };

  RecordReader reader;
  QByteArray buffer(kChunk, Qt::Uninitialized);
  for (qint64 n; failed.ok() && (n = in.read(buffer.data(), kChunk)) != 0;) {
    if (n < 0)
      return Result::failure(QStringLiteral("Cannot read %1: %2").arg(backup, in.errorString()));
    reader.feed(buffer.constData(), n, keep);
    if (qint64(kept.size()) >= kChunk)
      flush();
  }
  reader.end(keep);
  flush();
  if (!failed.ok())
    return failed;
  return out.commit();
}

} // namespace kestrum
