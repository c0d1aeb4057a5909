#include "fleet/VerdictAssessment.h"

namespace fleet {

void AssessVerdicts(std::vector<Verdict>& verdicts)
{
    for (Verdict& verdict : verdicts) {
        verdict.state = verdict.passed ? VerdictState::Pass : VerdictState::Fail;
        verdict.reason.clear();
    }
}

}  // namespace fleet
