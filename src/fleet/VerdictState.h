#pragma once
// Where a machine stands on one check in one run, and when two runs differ on it: the one
// comparison of runs that the console table, the CSV file and the report page all show.

#include "fleet/CheckColumns.h"
#include "fleet/MachineVerdicts.h"

#include <map>

namespace fleet {

enum class VerdictState { Passed, Failed, Absent, NoVerdicts };

// The machine's state for the column: no verdicts at all when its run gave none, absent when the
// run has no such check. verdicts is VerdictsByColumn(machine).
[[nodiscard]] VerdictState StateOf(const MachineVerdicts& machine, const std::map<ColumnKey, const Verdict*>& verdicts,
                                   const ColumnKey& key);

// True when a reader sees the check change between the runs: the states differ and at least one
// run has a verdict for it. Where neither has one, nothing changed that a reader could see.
[[nodiscard]] bool VerdictChanged(VerdictState before, VerdictState after);

}  // namespace fleet
