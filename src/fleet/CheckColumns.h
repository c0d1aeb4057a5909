#pragma once
// The checks of a fleet as columns: a check that an input document names more than once is one
// column per occurrence ("FreeHardDiskSpaceTest #2" for the second), in the order the machines
// ran them. The console table, the CSV file and the report page share these columns.

#include "fleet/MachineVerdicts.h"

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fleet {

// A check's name and which occurrence of that name in the run it is (from 1).
using ColumnKey = std::pair<std::wstring, std::size_t>;

// The machine's verdicts by column.
[[nodiscard]] std::map<ColumnKey, const Verdict*> VerdictsByColumn(const MachineVerdicts& machine);

// Adds the machine's columns that are not yet in columns, in the order the machine ran them.
void AddColumns(const MachineVerdicts& machine, std::vector<ColumnKey>& columns);

// "FreeHardDiskSpaceTest", or "FreeHardDiskSpaceTest #2" for a second occurrence; UTF-8.
[[nodiscard]] std::string ColumnLabel(const ColumnKey& key);

}  // namespace fleet
