#pragma once
// The fleet's verdicts as one self-contained HTML page (template: ReportPage.html): machines
// against checks, each verdict's more-info and solution lines one click away, the passes and
// failures of each check, a filter to the machines that fail, and the verdicts that changed from
// an earlier run outlined. Every text in it comes from a machine; the page carries it only as JSON
// data that its own script puts into the page as text, and its Content-Security-Policy lets no
// other script run and nothing be fetched.

#include "fleet/VerdictGrid.h"

#include <string>

namespace fleet {

// heading names what was run (UTF-8); before names the earlier run when grid compares two.
[[nodiscard]] std::string FormatReportPage(const VerdictGrid& grid, const std::string& heading,
                                           const std::string& before);

}  // namespace fleet
