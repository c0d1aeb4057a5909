#pragma once
// The verdicts of a fleet laid out as the CSV file shows them: one row per machine, one column per
// check (CheckColumns.h), with every verdict's lines and, when the same machines also ran an
// earlier input document, which verdicts differ from that run.

#include "fleet/CheckColumns.h"
#include "fleet/ColumnState.h"
#include "fleet/MachineVerdicts.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace fleet {

struct GridColumn {
    std::string label;
};

struct GridCell {
    // Empty where the machine's run has no such check.
    std::optional<Verdict> verdict;
    // With an earlier run: what the machine gave there when it differs ("pass", "fail", "absent"
    // for a check that run did not have, "no verdicts" for a run without any); otherwise empty.
    std::string before;
};

struct GridRow {
    std::string machine;
    // Why the machine has no verdicts; empty when it has them.
    std::string problem;
    // With an earlier run whose outcome differs in having verdicts at all: that run's problem, or
    // "verdicts" when it had them and this one has none.
    std::string problemBefore;
    std::vector<GridCell> cells;
};

class VerdictGrid {
public:
    // machines are laid out as they stand; before, when not empty, holds the same machines in the
    // same order as an earlier input document left them.
    VerdictGrid(const std::vector<MachineVerdicts>& machines, const std::vector<MachineVerdicts>& before);

    [[nodiscard]] const std::vector<GridColumn>& Columns() const { return columns_; }
    [[nodiscard]] const std::vector<GridRow>& Rows() const { return rows_; }
    [[nodiscard]] bool ComparesRuns() const { return comparesRuns_; }

private:
    std::vector<GridColumn> columns_;
    std::vector<GridRow> rows_;
    bool comparesRuns_ = false;
};

}  // namespace fleet
