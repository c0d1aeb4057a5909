#include "fleet/VerdictTable.h"

#include "fleet/CheckColumns.h"
#include "fleet/VerdictState.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <utility>

namespace fleet {

namespace {

constexpr const char* PassCell = "pass";
constexpr const char* FailCell = "FAIL";
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
std::string CellOf(VerdictState state, const char* missing)
{
    switch (state) {
    case VerdictState::Passed: return PassCell;
    case VerdictState::Failed: return FailCell;
    case VerdictState::Absent:
    case VerdictState::NoVerdicts: break;
    }
    return missing;
}

}  // namespace

std::string FormatVerdictTable(const std::vector<MachineVerdicts>& machines)
{
    std::vector<ColumnKey> columns;
    std::size_t nameWidth = std::string(MachineHeading).size();
    for (const MachineVerdicts& machine : machines) {
        AddColumns(machine, columns);
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
    std::size_t someFailed = 0;
    std::size_t withoutVerdicts = 0;
    for (const MachineVerdicts& machine : machines) {
        text += PadRight(machine.machine, nameWidth);
        if (!machine.problem.empty()) {
            ++withoutVerdicts;
            text += ' ';
            text += machine.problem + "\n";
            continue;
        }
        const std::map<ColumnKey, const Verdict*> verdicts = VerdictsByColumn(machine);
        for (const ColumnKey& key : columns) {
            text += ' ';
            text += PadLeft(CellOf(StateOf(machine, verdicts, key), MissingCell), cellWidth);
        }
        text += "\n";
        const bool passedAll = std::all_of(machine.verdicts.begin(), machine.verdicts.end(),
                                           [](const Verdict& verdict) { return verdict.passed; });
        ++(passedAll ? allPassed : someFailed);
    }
    text += '\n';
    text += std::to_string(machines.size()) + " machines: " + std::to_string(allPassed) + " pass every check, " +
            std::to_string(someFailed) + " fail at least one, " + std::to_string(withoutVerdicts) +
            " without verdicts\n";
    return text;
}

std::string FormatVerdictChanges(const std::vector<MachineVerdicts>& before, const std::vector<MachineVerdicts>& after)
{
    std::string text;
    std::size_t changedMachines = 0;
    std::size_t changedVerdicts = 0;
    const std::size_t count = std::min(before.size(), after.size());
    for (std::size_t index = 0; index < count; ++index) {
        const MachineVerdicts& old = before[index];
        const MachineVerdicts& now = after[index];
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
            const VerdictState was = StateOf(old, oldVerdicts, key);
            const VerdictState is = StateOf(now, newVerdicts, key);
            if (VerdictChanged(was, is)) {
                ++changedVerdicts;
                lines += "  " + ColumnLabel(key) + ": " + CellOf(was, AbsentVerdict) + " -> " +
                         CellOf(is, AbsentVerdict) + "\n";
            }
        }
        if (!lines.empty()) {
            ++changedMachines;
            text += now.machine + "\n" + lines;
        }
    }
    text += std::to_string(changedMachines) + " of " + std::to_string(count) + " machines change, " +
            std::to_string(changedVerdicts) + " verdicts in all\n";
    return text;
}

}  // namespace fleet
