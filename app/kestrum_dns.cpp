// kestrum-dns: the bundled resolver for the external-resolver slot. Reads
// the analyser's command file, looks up the logs' numeric client addresses
// in parallel and writes the analyser's DNS cache file.

#include "dns/ResolverRun.h"
#include "platform/ProgramInfo.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <optional>

using namespace kestrum::dns;

namespace {

const char kUsage[] =
    "Usage: kestrum-dns [/G FILE] [/T N] [--server HOST[:PORT]] [--timeout MS] [--tries N]\n"
    "Reads the analyser's command file, looks up the logs' numeric client addresses\n"
    "in parallel and writes the analyser's DNS cache file.\n"
    "\n"
    "Options:\n"
    "  -g, --config FILE, /G FILE   the analyser's command file (default analog.cfg)\n"
    "  -t, --threads N, /T N        look-ups in flight at a time, 1-1000 (default 20)\n"
    "  --server HOST[:PORT]         ask this name server instead of the system's\n"
    "  --timeout MS                 first wait for an answer in milliseconds (default 2000)\n"
    "  --tries N                    tries per address (default 2)\n"
    "  --help                       show this help and exit\n"
    "  --version                    show the program's version and exit\n";

int usage(const QString &why) {
  std::fprintf(stderr, "kestrum-dns: %s\n%s", qUtf8Printable(why), kUsage);
  return 2;
}

std::optional<int> number(const QString &text, int low, int high) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < low || value > high)
    return std::nullopt;
  return value;
}

void printLine(FILE *stream, const QString &line) {
  std::fprintf(stream, "%s\n", qUtf8Printable(line));
  std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[]) {
  if (const auto status = kestrum::AnswerHelpOrVersion(argc, argv, "kestrum-dns", kUsage))
    return *status;
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  RunSettings settings;
  for (qsizetype i = 0; i < args.size(); ++i) {
    QString option = args[i];
    if (option == QLatin1String("--help")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (option == QLatin1String("--version")) {
      kestrum::PrintVersion("kestrum-dns");
      return 0;
    }
    std::optional<QString> inlineValue;
    const qsizetype equals = option.indexOf(QLatin1Char('='));
    if (option.startsWith(QLatin1String("--")) && equals > 0) {
      inlineValue = option.mid(equals + 1);
      option = option.left(equals);
    }
    const QString lower = option.toLower();
    const bool config = lower == QLatin1String("/g") || option == QLatin1String("-g") ||
                        option == QLatin1String("--config");
    const bool threads = lower == QLatin1String("/t") || option == QLatin1String("-t") ||
                         option == QLatin1String("--threads");
    const bool server = option == QLatin1String("--server");
    const bool timeout = option == QLatin1String("--timeout");
    const bool tries = option == QLatin1String("--tries");
    if (!config && !threads && !server && !timeout && !tries)
      return usage(QStringLiteral("unknown option %1").arg(args[i]));
    if (!inlineValue && i + 1 >= args.size())
      return usage(QStringLiteral("%1 needs a value").arg(option));
    const QString value = inlineValue ? *inlineValue : args[++i];
    if (config) {
      settings.configFile = value;
    } else if (threads) {
      const auto n = number(value, 1, 1000);
      if (!n)
        return usage(QStringLiteral("the number of look-ups in flight must be 1 to 1000"));
      settings.resolver.inFlight = *n;
    } else if (server) {
      settings.resolver.server = value;
    } else if (timeout) {
      const auto n = number(value, 1, 600000);
      if (!n)
        return usage(QStringLiteral("--timeout takes milliseconds, 1 to 600000"));
      settings.resolver.timeoutMs = *n;
    } else {
      const auto n = number(value, 1, 20);
      if (!n)
        return usage(QStringLiteral("--tries takes 1 to 20"));
      settings.resolver.tries = *n;
    }
  }
  return RunResolver(settings, {[](const QString &line) { printLine(stdout, line); },
                                [](const QString &line) {
                                  printLine(stderr, QStringLiteral("kestrum-dns: ") + line);
                                }});
}
