#include "fleet/VerdictState.h"

namespace fleet {

namespace {

bool HasVerdict(VerdictState state)
{
    return state == VerdictState::Passed || state == VerdictState::Failed;
}

}  // namespace

VerdictState StateOf(const MachineVerdicts& machine, const std::map<ColumnKey, const Verdict*>& verdicts,
                     const ColumnKey& key)
{
    if (!machine.problem.empty()) {
        return VerdictState::NoVerdicts;
    }
    const auto found = verdicts.find(key);
    if (found == verdicts.end()) {
        return VerdictState::Absent;
    }
    return found->second->passed ? VerdictState::Passed : VerdictState::Failed;
}

bool VerdictChanged(VerdictState before, VerdictState after)
{
    return before != after && (HasVerdict(before) || HasVerdict(after));
}

}  // namespace fleet
