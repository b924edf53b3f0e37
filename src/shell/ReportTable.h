#pragma once

#include "profile/Profile.h"

#include <array>

namespace kestrum {

// One of the analyser's 32 reports as the pages show it: the caption of its
// box on "Show Reports" (ActReport), the caption of its box on "Report
// sorting" (RepSort), the letter appended to ReportOrder, and the tooltip of
// its activation box, which names the report and says what it lists.
struct ReportInfo {
  const char *activationCaption;
  const char *sortingCaption;
  char code;
  const char *activationTooltip;
};

const std::array<ReportInfo, kReportCount> &reportTable();

} // namespace kestrum
