#include "SampleLogCounts.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

RequestCounts countRequests(const QString &logPath, const CountRule &rule) {
  // host ident user [dd/Mon/yyyy:hh:mm:ss zone] "METHOD path PROTOCOL" status ...
  static const QRegularExpression line(
      QStringLiteral(R"(^\S+ \S+ \S+ \[(\d\d/\w{3}/\d{4}):[^\]]*\] "\S+ (\S+)[^"]*" (\d{3}) )"));
  RequestCounts counts;
  QFile file(logPath);
  if (!file.open(QIODevice::ReadOnly))
    return counts;
  while (!file.atEnd()) {
    const QString text = QString::fromLatin1(file.readLine());
    if (text.trimmed().isEmpty())
      continue;
    ++counts.lines;
    const QRegularExpressionMatch m = line.match(text);
    if (!m.hasMatch()) {
      ++counts.unreadable;
      continue;
    }
    const QDate day = QLocale::c().toDate(m.captured(1), QStringLiteral("dd/MMM/yyyy"));
    const bool outside =
        (rule.from.isValid() && day < rule.from) || (rule.to.isValid() && day > rule.to);
    if (outside || (!rule.excludedFile.isEmpty() && m.captured(2) == rule.excludedFile)) {
      ++counts.unwanted;
      continue;
    }
    const int status = m.captured(3).toInt();
    if ((status >= 200 && status < 300) || status == 304)
      ++counts.successful;
    else if (status >= 300 && status < 400)
      ++counts.redirected;
    else
      ++counts.failed;
  }
  return counts;
}
