#include "fleet/MachineStatus.h"

#include <algorithm>

namespace fleet {

MachineStatus StatusOf(const MachineVerdicts& machine)
{
    if (!machine.problem.empty()) {
        return MachineStatus::NoVerdicts;
    }
    const auto any = [&](VerdictState state) {
        return std::ranges::any_of(machine.verdicts, [&](const Verdict& verdict) { return verdict.state == state; });
    };
    if (any(VerdictState::Fail)) {
        return MachineStatus::Blocked;
    }
    return any(VerdictState::Unverified) ? MachineStatus::NotVerified : MachineStatus::Ready;
}

std::string_view StatusWord(MachineStatus status)
{
    switch (status) {
    case MachineStatus::Ready: return "ready";
    case MachineStatus::Blocked: return "blocked";
    case MachineStatus::NotVerified: return "not verified";
    case MachineStatus::NoVerdicts: break;
    }
    return "no verdicts";
}

}  // namespace fleet
