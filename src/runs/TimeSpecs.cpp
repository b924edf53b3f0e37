#include "TimeSpecs.h"

namespace kestrum {
namespace {

QString lastDays(const char *days) {
  return QStringLiteral("FROM -00-00-%1\r\nTO -00-00-00").arg(QLatin1String(days));
}

} // namespace

std::optional<QString> TimeSpecsForOption(int option, const PeriodBoxes &b) {
  switch (option) {
  case 0: // absolute
  case 1: // relative: the boxes are passed through unchanged either way
    return QStringLiteral("FROM ") + b.FD + b.FM + b.FY + QStringLiteral("\r\nTO ") + b.TD + b.TM +
           b.TY;
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
