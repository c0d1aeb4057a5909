#include "fleet/VerdictGrid.h"

#include "fleet/ColumnState.h"

#include <map>

namespace fleet {

namespace {

constexpr const char* VerdictsWord = "verdicts";

}  // namespace

VerdictGrid::VerdictGrid(const std::vector<MachineVerdicts>& machines, const std::vector<MachineVerdicts>& before)
    : comparesRuns_(!before.empty())
{
    std::vector<ColumnKey> keys;
    for (const MachineVerdicts& machine : machines) {
        AddColumns(machine, keys);
    }
    for (const ColumnKey& key : keys) {
        columns_.push_back({ColumnLabel(key)});
    }
    for (std::size_t index = 0; index < machines.size(); ++index) {
        const MachineVerdicts& machine = machines[index];
        GridRow row{machine.machine, machine.problem, {}, {}};
        const auto verdicts = VerdictsByColumn(machine);
        const MachineVerdicts* earlier = index < before.size() ? &before[index] : nullptr;
        const auto earlierVerdicts = earlier != nullptr ? VerdictsByColumn(*earlier) : decltype(verdicts){};
        if (earlier != nullptr && earlier->problem.empty() != machine.problem.empty()) {
            row.problemBefore = earlier->problem.empty() ? VerdictsWord : earlier->problem;
        }
        for (std::size_t column = 0; column < keys.size() && machine.problem.empty(); ++column) {
            GridCell cell;
            if (const auto found = verdicts.find(keys[column]); found != verdicts.end()) {
                cell.verdict = *found->second;
            }
            if (earlier != nullptr) {
                const ColumnState was = StateOf(*earlier, earlierVerdicts, keys[column]);
                if (VerdictChanged(was, StateOf(machine, verdicts, keys[column]))) {
                    cell.before = StateWord(was);
                }
            }
            row.cells.push_back(std::move(cell));
        }
        rows_.push_back(std::move(row));
    }
}

}  // namespace fleet
