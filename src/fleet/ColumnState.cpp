#include "fleet/ColumnState.h"

namespace fleet {

namespace {

bool HasVerdict(ColumnState state)
{
    return state == ColumnState::Passed || state == ColumnState::Failed || state == ColumnState::Unverified;
}

}  // namespace

ColumnState StateOf(const Verdict& verdict)
{
    // The program's verdict decides; the assessment only tells a pass that did not look.
    if (!verdict.passed) {
        return ColumnState::Failed;
    }
    return verdict.state == VerdictState::Unverified ? ColumnState::Unverified : ColumnState::Passed;
}

ColumnState StateOf(const MachineVerdicts& machine, const std::map<ColumnKey, const Verdict*>& verdicts,
                    const ColumnKey& key)
{
    if (!machine.problem.empty()) {
        return ColumnState::NoVerdicts;
    }
    const auto found = verdicts.find(key);
    if (found == verdicts.end()) {
        return ColumnState::Absent;
    }
    return StateOf(*found->second);
}

const char* StateWord(ColumnState state)
{
    switch (state) {
    case ColumnState::Passed: return PassedWord;
    case ColumnState::Failed: return FailedWord;
    case ColumnState::Unverified: return UnverifiedWord;
    case ColumnState::Absent: return AbsentWord;
    case ColumnState::NoVerdicts: break;
    }
    return NoVerdictsWord;
}

bool VerdictChanged(ColumnState before, ColumnState after)
{
    return before != after && (HasVerdict(before) || HasVerdict(after));
}

}  // namespace fleet
