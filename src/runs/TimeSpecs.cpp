#include "TimeSpecs.h"

#include <QRegularExpression>

namespace kestrum {
namespace {

QString lastDays(const char *days) {
  return QStringLiteral("FROM -00-00-%1\r\nTO -00-00-00").arg(QLatin1String(days));
}

// The analyser reads dates as yyMMdd: "2026" would make the whole FROM or TO
// invalid (and the whole log analysed), so a four-digit year gives its last
// two digits. Anything else stays as typed.
QString yearForAnalyser(const QString &year) {
  static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
  return fourDigits.match(year).hasMatch() ? year.right(2) : year;
}

} // namespace

QString PeriodBoxesProblem(const PeriodBoxes &b) {
  static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]*$"));
  for (const QString &box : {b.FD, b.FM, b.FY, b.TD, b.TM, b.TY})
    if (!number.match(box).hasMatch())
      return QStringLiteral("The period boxes take numbers only (such as 2026, 09 or -30); "
                            "\"%1\" is not a number.")
          .arg(box);
  return {};
}

std::optional<QString> TimeSpecsForOption(int option, const PeriodBoxes &b) {
  switch (option) {
  case 0: // absolute
  case 1: // relative: the boxes are passed through either way
    return QStringLiteral("FROM ") + yearForAnalyser(b.FD) + b.FM + b.FY +
           QStringLiteral("\r\nTO ") + yearForAnalyser(b.TD) + b.TM + b.TY;
  case 2: return lastDays("07");
  case 3: return lastDays("30");
  case 4: return lastDays("90");
  case 5: return lastDays("180");
  case 6: return lastDays("360");
  case 7: return QString();
  default: return std::nullopt;
  }
}

} // namespace kestrum
