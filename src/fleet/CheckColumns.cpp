#include "fleet/CheckColumns.h"

#include "winapi/Utf8.h"

#include <algorithm>

namespace fleet {

namespace {

std::vector<std::pair<ColumnKey, const Verdict*>> KeyedVerdicts(const MachineVerdicts& machine)
{
    std::map<std::wstring, std::size_t> seen;
    std::vector<std::pair<ColumnKey, const Verdict*>> keyed;
    for (const Verdict& verdict : machine.verdicts) {
        keyed.push_back({{verdict.check, ++seen[verdict.check]}, &verdict});
    }
    return keyed;
}

}  // namespace

std::map<ColumnKey, const Verdict*> VerdictsByColumn(const MachineVerdicts& machine)
{
    const auto keyed = KeyedVerdicts(machine);
    return {keyed.begin(), keyed.end()};
}

void AddColumns(const MachineVerdicts& machine, std::vector<ColumnKey>& columns)
{
    for (const auto& [key, verdict] : KeyedVerdicts(machine)) {
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

}  // namespace fleet
