#include "dns/ResolverRun.h"

#include "dns/DnsCacheFile.h"
#include "dns/LogAddresses.h"
#include "dns/ResolverConfig.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace kestrum::dns {

namespace {

constexpr int kProgressEveryMs = 1000;

QString perSecond(unsigned long long count, qint64 ms) {
  return Grouped(ms > 0 ? count * 1000 / static_cast<unsigned long long>(ms) : count);
}

// "1 file", "2 files", "3 unique addresses".
QString Counted(unsigned long long number, const char *noun) {
  const QString word = QString::fromLatin1(noun);
  return Grouped(number) + QLatin1Char(' ') + word +
         (number == 1                       ? QString()
          : word.endsWith(QLatin1Char('s')) ? QStringLiteral("es")
                                            : QStringLiteral("s"));
}

} // namespace

QString Grouped(unsigned long long number) {
  QString digits = QString::number(number);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
    digits.insert(at, QLatin1Char(','));
  return digits;
}

int RunResolver(const RunSettings &settings, const RunReport &report) {
  QString error;
  ResolverConfig config;
  if (!ReadResolverConfig(settings.configFile, config, error)) {
    report.err(error);
    return 1;
  }
  const long long nowMinutes = QDateTime::currentSecsSinceEpoch() / 60;
  DnsCacheFile cache;
  if (!cache.read(config.dnsFile, nowMinutes, config.goodHours, config.badHours, error)) {
    report.err(error);
    return 1;
  }

  LogAddresses logs;
  CollectLogAddresses(config, logs, report.err);
  const size_t unique = logs.addresses.size();
  std::vector<std::string> wanted;
  wanted.reserve(logs.addresses.size());
  for (auto it = logs.addresses.begin(); it != logs.addresses.end();) {
    auto node = logs.addresses.extract(it++);
    if (!cache.isFresh(node.value()))
      wanted.push_back(std::move(node.value()));
  }
  const size_t fresh = unique - wanted.size();
  report.out(QStringLiteral("read %1 from %2: %3, %4 fresh in the cache, %5 to look up")
                 .arg(Counted(logs.lines, "log line"), Counted(logs.filesRead, "file"),
                      Counted(unique, "unique address"), Grouped(fresh), Grouped(wanted.size())));
  if (logs.unparseable > 0)
    report.out(
        QStringLiteral("%1 not parseable, skipped").arg(Counted(logs.unparseable, "log line")));
  if (wanted.empty()) {
    report.out(
        QStringLiteral("nothing to look up; the DNS cache %1 is unchanged").arg(config.dnsFile));
    return 0;
  }

  std::vector<std::string> names(wanted.size());
  unsigned long long done = 0, unresolved = 0;
  QElapsedTimer clock;
  clock.start();
  qint64 nextProgress = kProgressEveryMs;
  const auto progress = [&] {
    report.out(QStringLiteral("resolved %1 of %2 addresses, %3 unresolved, %4 per second")
                   .arg(Grouped(done), Grouped(wanted.size()), Grouped(unresolved),
                        perSecond(done, clock.elapsed())));
  };
  ReverseResolver resolver(settings.resolver);
  const bool ok = resolver.run(
      wanted,
      [&](size_t index, const std::string &name) {
        names[index] = name;
        ++done;
        if (name.empty())
          ++unresolved;
      },
      [&] {
        if (clock.elapsed() >= nextProgress) {
          progress();
          nextProgress = clock.elapsed() + kProgressEveryMs;
        }
      },
      kProgressEveryMs / 4, error);
  if (!ok) {
    report.err(QStringLiteral("%1; the DNS cache %2 is left as it was").arg(error, config.dnsFile));
    return 1;
  }
  const qint64 elapsed = clock.elapsed();
  progress();
  if (!cache.writeMerged(config.dnsFile, wanted, names, nowMinutes, error)) {
    report.err(error);
    return 1;
  }
  QString summary =
      QStringLiteral("done: %1 looked up in %2 s (%3 per second), %4 resolved, %5 unresolved")
          .arg(Counted(done, "address"), QString::number(elapsed / 1000.0, 'f', 1),
               perSecond(done, elapsed), Grouped(done - unresolved), Grouped(unresolved));
  if (logs.unparseable > 0)
    summary += QStringLiteral("; %1 not parseable").arg(Counted(logs.unparseable, "log line"));
  report.out(summary);
  report.out(QStringLiteral("DNS cache %1 written").arg(config.dnsFile));
  return 0;
}

} // namespace kestrum::dns
