#pragma once
// The fleet replay's reports: every machine against every check, or only the verdicts that change
// between two input documents, one column per check (see CheckColumns.h).

#include "fleet/CheckColumns.h"
#include "fleet/ColumnState.h"
#include "fleet/MachineVerdicts.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fleet {

// A table with one row per machine and one column per check, cells "pass", "FAIL", "unv" (a pass
// that did not read what it decides on), or "-" where the machine's run has no such check; a
// machine without verdicts gets its problem instead.
// UTF-8 text, lines ending in "\n".
[[nodiscard]] std::string FormatVerdictTable(const std::vector<MachineVerdicts>& machines);

// What the table shows of a machine, for a fleet too large to keep every verdict until the end:
// its name, its problem, and the state of each verdict it has, by column.
struct MachineOutcomes {
    std::string machine;
    std::string problem;
    // The state of each column the machine has a verdict in.
    std::vector<std::pair<std::uint16_t, ColumnState>> states;
};

// The machine's outcomes, adding the columns it brings to columns.
[[nodiscard]] MachineOutcomes OutcomesOf(const MachineVerdicts& machine, std::vector<ColumnKey>& columns);

// The same table from outcomes, columns as OutcomesOf left them.
[[nodiscard]] std::string FormatVerdictTable(const std::vector<ColumnKey>& columns,
                                             const std::vector<MachineOutcomes>& machines);

// Machine by machine, the verdicts that differ between the runs before and after (the same
// machines in the same order), and a closing count. UTF-8 text, lines ending in "\n".
[[nodiscard]] std::string FormatVerdictChanges(const std::vector<MachineVerdicts>& before,
                                               const std::vector<MachineVerdicts>& after);

// The same in parts, a machine at a time: the machine's lines (empty when nothing changed), adding
// its changed verdicts to changedVerdicts; and the closing count.
[[nodiscard]] std::string FormatMachineChanges(const MachineVerdicts& old, const MachineVerdicts& now,
                                               std::size_t& changedVerdicts);
[[nodiscard]] std::string FormatChangeCount(std::size_t changedMachines, std::size_t machines,
                                            std::size_t changedVerdicts);

}  // namespace fleet
