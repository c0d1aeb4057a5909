#pragma once
// A fleet's readiness as one self-contained HTML page (template: ReportPage.html). The summary
// comes first: how many machines are ready, blocked, not verified or without verdicts, and each
// check's failures by the machines they block, grouped by reason. A group opens to its machines
// and a machine to its failing and unverified verdicts with their lines and solution; the lists
// are built from the data on demand, a page at a time. Every text in it comes from a machine; the
// page carries it only as JSON data that its own script puts into the page as text, and its
// Content-Security-Policy lets no other script run and nothing be fetched.

#include "fleet/FleetReadiness.h"

#include <string>

namespace fleet {

// heading names what was run (UTF-8); before names the earlier input document when readiness
// compares two.
[[nodiscard]] std::string FormatReportPage(const FleetReadiness& readiness, const std::string& heading,
                                           const std::string& before);

}  // namespace fleet
