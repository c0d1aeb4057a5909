#pragma once
// Where a machine stands on one check in one run, and when two runs differ on it: the one
// comparison of runs that the console table, the CSV file and the report page all show.

#include "fleet/CheckColumns.h"
#include "fleet/MachineVerdicts.h"

#include <cstdint>
#include <map>

namespace fleet {

// The words of a verdict, and of its absence, in the CSV file and on the page.
inline constexpr const char* PassedWord = "pass";
inline constexpr const char* FailedWord = "fail";
inline constexpr const char* UnverifiedWord = "unverified";
inline constexpr const char* AbsentWord = "absent";
inline constexpr const char* NoVerdictsWord = "no verdicts";

// Unverified is a pass that did not read what it decides on (VerdictAssessment.h).
enum class ColumnState : std::uint8_t { Passed, Failed, Unverified, Absent, NoVerdicts };

// The state of a verdict the machine has.
[[nodiscard]] ColumnState StateOf(const Verdict& verdict);

// The machine's state for the column: no verdicts at all when its run gave none, absent when the
// run has no such check. verdicts is VerdictsByColumn(machine).
[[nodiscard]] ColumnState StateOf(const MachineVerdicts& machine, const std::map<ColumnKey, const Verdict*>& verdicts,
                                  const ColumnKey& key);

// The word of the state in the CSV file and on the page.
[[nodiscard]] const char* StateWord(ColumnState state);

// True when a reader sees the check change between the runs: the states differ and at least one
// run has a verdict for it. Where neither has one, nothing changed that a reader could see.
[[nodiscard]] bool VerdictChanged(ColumnState before, ColumnState after);

}  // namespace fleet
