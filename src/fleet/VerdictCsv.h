#pragma once
// The fleet's verdicts as a CSV file (RFC 4180: every cell quoted, lines ending in CR LF, UTF-8):
// one row per machine and check with the verdict ("pass", "fail", or "unverified" for a pass that
// did not read what it decides on), the reason where the check's catalogue row tells one (also for
// a fail that comes only from a read that failed), its more-info lines and its solution lines
// (lines within a cell separated by LF), and, when two runs are compared, the earlier verdict
// where it differs. A machine without verdicts has one row that gives its problem as the reason. Every text in
// it comes from a machine, so a cell that a spreadsheet would take for a formula (beginning with
// "=", "+", "-", "@", a tab or a carriage return) starts with an apostrophe and shows as text.

#include "fleet/VerdictGrid.h"

#include <string>
#include <vector>

namespace fleet {

[[nodiscard]] std::string FormatVerdictCsv(const VerdictGrid& grid);

// The file in parts, for writing it as machines come in: the heading row, then the rows of grids
// of a few machines each.
[[nodiscard]] std::string VerdictCsvHeading(bool compares);
[[nodiscard]] std::string FormatVerdictCsvRows(const VerdictGrid& grid);

// One quoted cell, defused as above.
[[nodiscard]] std::string CsvCell(const std::string& text);

// One row of quoted, defused cells, ending in CR LF.
[[nodiscard]] std::string CsvRow(const std::vector<std::string>& cells);

}  // namespace fleet
