#include "fleet/VerdictTable.h"

#include "winapi/Utf8.h"

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

// A check as a column: its name and which occurrence of that name in the run it is (from 1).
using ColumnKey = std::pair<std::wstring, std::size_t>;

std::vector<std::pair<ColumnKey, bool>> KeyedVerdicts(const MachineVerdicts& machine)
{
    std::map<std::wstring, std::size_t> seen;
    std::vector<std::pair<ColumnKey, bool>> keyed;
    for (const Verdict& verdict : machine.verdicts) {
        keyed.push_back({{verdict.check, ++seen[verdict.check]}, verdict.passed});
    }
    return keyed;
}

// Adds the machine's columns that are not yet known, in the order the machine ran them.
void AddColumns(const MachineVerdicts& machine, std::vector<ColumnKey>& columns)
{
    for (const auto& [key, passed] : KeyedVerdicts(machine)) {
        if (std::find(columns.begin(), columns.end(), key) == columns.end()) {
            columns.push_back(key);
        }
    }
}

std::string ColumnLabel(const ColumnKey& key)
{
    std::string label = winapi::ToUtf8(key.first);
    if (key.second > 1) {
        label += " #" + std::to_string(key.second);
    }
    return label;
}

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

std::string VerdictText(const std::map<ColumnKey, bool>& verdicts, const ColumnKey& key, const char* missing)
{
    const auto found = verdicts.find(key);
    if (found == verdicts.end()) {
        return missing;
    }
    return found->second ? PassCell : FailCell;
}

std::map<ColumnKey, bool> VerdictMap(const MachineVerdicts& machine)
{
    const auto keyed = KeyedVerdicts(machine);
    return {keyed.begin(), keyed.end()};
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
        const std::map<ColumnKey, bool> verdicts = VerdictMap(machine);
        for (const ColumnKey& key : columns) {
            text += ' ';
            text += PadLeft(VerdictText(verdicts, key, MissingCell), cellWidth);
        }
        text += "\n";
        const bool passedAll = std::all_of(machine.verdicts.begin(), machine.verdicts.end(),
                                           [](const Verdict& verdict) { return verdict.passed; });
        ++(passedAll ? allPassed : someFailed);
    }
    text += '\n';
    text += std::to_string(machines.size()) + " machines: " + std::to_string(allPassed) +
            " pass every check, " + std::to_string(someFailed) + " fail at least one, " +
            std::to_string(withoutVerdicts) + " without verdicts\n";
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
        const std::map<ColumnKey, bool> oldVerdicts = VerdictMap(old);
        const std::map<ColumnKey, bool> newVerdicts = VerdictMap(now);
        for (const ColumnKey& key : columns) {
            const std::string was = VerdictText(oldVerdicts, key, AbsentVerdict);
            const std::string is = VerdictText(newVerdicts, key, AbsentVerdict);
            if (was != is) {
                ++changedVerdicts;
                lines += "  " + ColumnLabel(key) + ": " + was + " -> " + is + "\n";
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
