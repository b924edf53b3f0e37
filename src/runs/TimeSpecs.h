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
// option: TimeSpecs is then left as it was. The boxes are written as typed,
// except that a four-digit year box gives its last two digits.

std::optional<QString> TimeSpecsForOption(int option, const PeriodBoxes &boxes);

// Why the boxes cannot be written (one holds something other than an
// optionally signed number), or empty when they can. Empty boxes are fine.
QString PeriodBoxesProblem(const PeriodBoxes &boxes);

} // namespace kestrum
