#include "fleet/VerdictTable.h"

#include "fleet/CheckColumns.h"
#include "fleet/ColumnState.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <utility>

namespace fleet {

namespace {

constexpr const char* PassCell = "pass";
constexpr const char* FailCell = "FAIL";
constexpr const char* UnverifiedCell = "unv";
constexpr const char* MissingCell = "-";
constexpr const char* AbsentVerdict = "absent";
constexpr const char* MachineHeading = "Machine";
constexpr std::size_t CellWidth = 4;

std::string PadRight(std::string text, std::size_t width)
{
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width)
{
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// The cell of a state; missing stands for a check without a verdict.
const char* CellOf(ColumnState state, const char* missing)
{
    switch (state) {
    case ColumnState::Passed: return PassCell;
    case ColumnState::Failed: return FailCell;
    case ColumnState::Unverified: return UnverifiedCell;
    case ColumnState::Absent:
    case ColumnState::NoVerdicts: break;
    }
    return missing;
}

}  // namespace

MachineOutcomes OutcomesOf(const MachineVerdicts& machine, std::vector<ColumnKey>& columns)
{
    AddColumns(machine, columns);
    MachineOutcomes outcomes{machine.machine, machine.problem, {}};
    const std::map<ColumnKey, const Verdict*> verdicts = VerdictsByColumn(machine);
    for (const auto& [key, verdict] : verdicts) {
        const auto column = static_cast<std::size_t>(std::find(columns.begin(), columns.end(), key) - columns.begin());
        outcomes.states.push_back({static_cast<std::uint16_t>(column), StateOf(machine, verdicts, key)});
    }
    return outcomes;
}

std::string FormatVerdictTable(const std::vector<MachineVerdicts>& machines)
{
    std::vector<ColumnKey> columns;
    std::vector<MachineOutcomes> outcomes;
    for (const MachineVerdicts& machine : machines) {
        outcomes.push_back(OutcomesOf(machine, columns));
    }
    return FormatVerdictTable(columns, outcomes);
}

std::string FormatVerdictTable(const std::vector<ColumnKey>& columns, const std::vector<MachineOutcomes>& machines)
{
    std::size_t nameWidth = std::string(MachineHeading).size();
    for (const MachineOutcomes& machine : machines) {
        nameWidth = std::max(nameWidth, machine.machine.size());
    }
    const std::size_t cellWidth = std::max(CellWidth, std::to_string(columns.size()).size());

    std::string text = "Checks\n";
    for (std::size_t column = 0; column < columns.size(); ++column) {
        text += PadLeft(std::to_string(column + 1), cellWidth) + "  " + ColumnLabel(columns[column]) + "\n";
    }
    text += "\n";
    text += PadRight(MachineHeading, nameWidth);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        text += ' ';
        text += PadLeft(std::to_string(column + 1), cellWidth);
    }
    text += "\n";

    std::size_t allPassed = 0;
    std::size_t someUnverified = 0;
    std::size_t someFailed = 0;
    std::size_t withoutVerdicts = 0;
    std::vector<const char*> cells;
    for (const MachineOutcomes& machine : machines) {
        text += PadRight(machine.machine, nameWidth);
        if (!machine.problem.empty()) {
            ++withoutVerdicts;
            text += ' ';
            text += machine.problem + "\n";
            continue;
        }
        cells.assign(columns.size(), MissingCell);
        bool failed = false;
        bool unverified = false;
        for (const auto& [column, state] : machine.states) {
            cells[column] = CellOf(state, MissingCell);
            failed = failed || state == ColumnState::Failed;
            unverified = unverified || state == ColumnState::Unverified;
        }
        for (const char* cell : cells) {
            text += ' ';
            text += PadLeft(cell, cellWidth);
        }
        text += "\n";
        ++(failed ? someFailed : unverified ? someUnverified : allPassed);
    }
    text += '\n';
    text += std::to_string(machines.size()) + " machines: " + std::to_string(allPassed) + " pass every check, " +
            std::to_string(someUnverified) + " pass with checks that did not look (" + UnverifiedCell + "), " +
            std::to_string(someFailed) + " fail at least one, " + std::to_string(withoutVerdicts) +
            " without verdicts\n";
    return text;
}

std::string FormatMachineChanges(const MachineVerdicts& old, const MachineVerdicts& now, std::size_t& changedVerdicts)
{
    std::string lines;
    if (old.problem != now.problem) {
        lines += "  run: " + (old.problem.empty() ? std::string("verdicts") : old.problem) + " -> " +
                 (now.problem.empty() ? std::string("verdicts") : now.problem) + "\n";
    }
    std::vector<ColumnKey> columns;
    AddColumns(old, columns);
    AddColumns(now, columns);
    const std::map<ColumnKey, const Verdict*> oldVerdicts = VerdictsByColumn(old);
    const std::map<ColumnKey, const Verdict*> newVerdicts = VerdictsByColumn(now);
    for (const ColumnKey& key : columns) {
        const ColumnState was = StateOf(old, oldVerdicts, key);
        const ColumnState is = StateOf(now, newVerdicts, key);
        if (VerdictChanged(was, is)) {
            ++changedVerdicts;
            lines +=
                "  " + ColumnLabel(key) + ": " + CellOf(was, AbsentVerdict) + " -> " + CellOf(is, AbsentVerdict) + "\n";
        }
    }
    return lines.empty() ? lines : now.machine + "\n" + lines;
}

std::string FormatChangeCount(std::size_t changedMachines, std::size_t machines, std::size_t changedVerdicts)
{
    return std::to_string(changedMachines) + " of " + std::to_string(machines) + " machines change, " +
           std::to_string(changedVerdicts) + " verdicts in all\n";
}

std::string FormatVerdictChanges(const std::vector<MachineVerdicts>& before, const std::vector<MachineVerdicts>& after)
{
    std::string text;
    std::size_t changedMachines = 0;
    std::size_t changedVerdicts = 0;
    const std::size_t count = std::min(before.size(), after.size());
    for (std::size_t index = 0; index < count; ++index) {
        const std::string lines = FormatMachineChanges(before[index], after[index], changedVerdicts);
        if (!lines.empty()) {
            ++changedMachines;
            text += lines;
        }
    }
    return text + FormatChangeCount(changedMachines, count, changedVerdicts);
}

}  // namespace fleet
