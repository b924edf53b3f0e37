#pragma once

#include <QString>

#include <optional>

namespace kestrum {

// The six boxes of the reporting period, as typed (From row: FD FM FY,
// To row: TD TM TY, each read Year, Month, Day).
struct PeriodBoxes {
  QString FD, FM, FY, TD, TM, TY;
};

// The FROM/TO commands for a reporting-period option (0 absolute, 1 relative,
// 2..6 the last 7/30/90/180/360 days, 7 everytime). nullopt for any other
// option: TimeSpecs is then left as it was.
std::optional<QString> TimeSpecsForOption(int option, const PeriodBoxes &boxes);

} // namespace kestrum
