#pragma once
// The fleet replay's reports: every machine against every check, or only the verdicts that change
// between two input documents, one column per check (see CheckColumns.h).

#include "fleet/MachineVerdicts.h"

#include <string>
#include <vector>

namespace fleet {

// A table with one row per machine and one column per check, cells "pass", "FAIL", or "-" where
// the machine's run has no such check; a machine without verdicts gets its problem instead.
// UTF-8 text, lines ending in "\n".
[[nodiscard]] std::string FormatVerdictTable(const std::vector<MachineVerdicts>& machines);

// Machine by machine, the verdicts that differ between the runs before and after (the same
// machines in the same order), and a closing count. UTF-8 text, lines ending in "\n".
[[nodiscard]] std::string FormatVerdictChanges(const std::vector<MachineVerdicts>& before,
                                               const std::vector<MachineVerdicts>& after);

}  // namespace fleet
