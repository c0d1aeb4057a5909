#pragma once
// The machine CSV file, the one a rollout tool imports: one row per machine with its status, the
// checks that block it and those left unverified (each list joined by ";"), when it was scanned,
// and why it has no verdicts where it has none; with an earlier input document compared, also its
// status then. Written as VerdictCsv.h writes (RFC 4180, every cell quoted, CR LF, UTF-8, formulas
// shown as text), a row at a time as the machines come in.

#include "fleet/FleetReadiness.h"

#include <string>

namespace fleet {

[[nodiscard]] std::string MachineCsvHeading(bool compares);

[[nodiscard]] std::string FormatMachineCsvRow(const FleetReadiness& readiness, const MachineRecord& machine);

// "2026-12-07T09:06:26Z" (UTC), or an empty string for NoScanTime.
[[nodiscard]] std::string FormatScanTime(ScanTime time);

}  // namespace fleet
