#include "fleet/FleetReadiness.h"

#include "fleet/FailureLines.h"
#include "framework/CheckCatalogue.h"
#include "winapi/Utf8.h"

#include <algorithm>

namespace fleet {

namespace {

std::size_t StatusIndex(MachineStatus status)
{
    return static_cast<std::size_t>(status);
}

bool Kept(VerdictState state)
{
    return state != VerdictState::Pass;
}

// Each verdict of the machine with its column, in run order.
template <typename Visit>
void ForEachColumn(const MachineVerdicts& machine, Visit visit)
{
    std::map<std::wstring, std::size_t> seen;
    for (const Verdict& verdict : machine.verdicts) {
        visit(ColumnKey{verdict.check, ++seen[verdict.check]}, verdict);
    }
}

std::string InputName(const ColumnKey& key)
{
    const CheckEntry* entry = FindCheckByResultName(key.first);
    return ColumnLabel({entry != nullptr ? std::wstring(entry->inputName) : key.first, key.second});
}

}  // namespace

const MachineRecord& FleetReadiness::Add(const MachineVerdicts& machine, const MachineVerdicts* before,
                                         ScanTime scanTime)
{
    const auto index = static_cast<std::uint32_t>(machines_.size());
    MachineRecord record{machine.machine, StatusOf(machine), std::nullopt, machine.problem, scanTime, 0, {}};
    ++counts_[StatusIndex(record.status)];
    if (record.status != MachineStatus::NoVerdicts) {
        ForEachColumn(machine, [&](const ColumnKey& key, const Verdict& verdict) {
            const std::uint32_t check = CheckOf(key, verdict);
            if (!Kept(verdict.state)) {
                ++record.passed;
                return;
            }
            ++(verdict.state == VerdictState::Fail ? checks_[check].blocked : checks_[check].unverified);
            const std::uint32_t group = GroupOf(check, verdict.state, GroupingReason(verdict));
            ReasonGroup& shared = groups_[group];
            KeptVerdict kept{check, verdict.state, group, false, {}, {}};
            for (const std::wstring& line : verdict.moreInfo) {
                kept.moreInfo.push_back(TextOf(line));
            }
            for (const std::wstring& line : verdict.solutions) {
                kept.solutions.push_back(TextOf(line));
            }
            if (shared.machines.empty()) {
                shared.moreInfo = std::move(kept.moreInfo);
                shared.solutions = std::move(kept.solutions);
            } else if (kept.moreInfo != shared.moreInfo || kept.solutions != shared.solutions) {
                kept.ownLines = true;
            }
            if (!kept.ownLines) {
                kept.moreInfo = {};
                kept.solutions = {};
            }
            shared.machines.push_back(index);
            record.verdicts.push_back(std::move(kept));
        });
    }
    if (before != nullptr) {
        compares_ = true;
        record.before = StatusOf(*before);
        statusChanges_ += *record.before != record.status ? 1u : 0u;
        CountBefore(*before);
    }
    if (scanTime != NoScanTime) {
        oldestScan_ = oldestScan_ == NoScanTime ? scanTime : std::min(oldestScan_, scanTime);
        newestScan_ = std::max(newestScan_, scanTime);
    }
    machines_.push_back(std::move(record));
    return machines_.back();
}

void FleetReadiness::CountBefore(const MachineVerdicts& before)
{
    const MachineStatus status = StatusOf(before);
    ++countsBefore_[StatusIndex(status)];
    if (status == MachineStatus::NoVerdicts) {
        return;
    }
    ForEachColumn(before, [&](const ColumnKey& key, const Verdict& verdict) {
        if (Kept(verdict.state)) {
            ++groups_[GroupOf(CheckOf(key, verdict), verdict.state, GroupingReason(verdict))].before;
        }
    });
}

std::vector<std::size_t> FleetReadiness::GroupsInOrder() const
{
    std::vector<std::size_t> order(groups_.size());
    for (std::size_t index = 0; index < order.size(); ++index) {
        order[index] = index;
    }
    const auto rank = [&](std::size_t index) {
        const ReasonGroup& group = groups_[index];
        const ReadinessCheck& check = checks_[group.check];
        // Fails before unverified passes; the checks by machines blocked, then left unverified.
        return std::make_tuple(group.state == VerdictState::Fail ? 0 : 1, ~check.blocked, ~check.unverified,
                               group.check, ~group.machines.size(), ~group.before, group.reason);
    };
    std::ranges::sort(order, [&](std::size_t left, std::size_t right) { return rank(left) < rank(right); });
    return order;
}

std::string FleetReadiness::CheckTitle(std::size_t check) const
{
    const ReadinessCheck& entry = checks_[check];
    return entry.descriptiveName.empty() ? entry.inputName : entry.descriptiveName + " (" + entry.inputName + ")";
}

const std::vector<std::uint32_t>& FleetReadiness::MoreInfoOf(const KeptVerdict& verdict) const
{
    return verdict.ownLines ? verdict.moreInfo : groups_[verdict.group].moreInfo;
}

const std::vector<std::uint32_t>& FleetReadiness::SolutionsOf(const KeptVerdict& verdict) const
{
    return verdict.ownLines ? verdict.solutions : groups_[verdict.group].solutions;
}

std::uint32_t FleetReadiness::CheckOf(const ColumnKey& key, const Verdict& verdict)
{
    const auto [found, added] = checkIndex_.try_emplace(key, static_cast<std::uint32_t>(checks_.size()));
    if (added) {
        checks_.push_back({ColumnLabel(key), InputName(key), {}, LineLabels(key.first), 0, 0});
    }
    ReadinessCheck& check = checks_[found->second];
    if (check.descriptiveName.empty()) {
        check.descriptiveName = winapi::ToUtf8(verdict.descriptiveName);
    }
    return found->second;
}

std::uint32_t FleetReadiness::GroupOf(std::uint32_t check, VerdictState state, const std::string& reason)
{
    const auto [found, added] =
        groupIndex_.try_emplace(std::make_tuple(check, state, reason), static_cast<std::uint32_t>(groups_.size()));
    if (added) {
        groups_.push_back({check, state, reason, {}, 0, {}, {}});
    }
    return found->second;
}

std::uint32_t FleetReadiness::TextOf(const std::wstring& line)
{
    std::string text = winapi::ToUtf8(line);
    const auto [found, added] = textIndex_.try_emplace(text, static_cast<std::uint32_t>(texts_.size()));
    if (added) {
        texts_.push_back(std::move(text));
    }
    return found->second;
}

}  // namespace fleet
