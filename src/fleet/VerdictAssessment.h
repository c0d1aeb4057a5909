#pragma once
// The one place where a verdict read from a results document gets its state for the fleet's
// reports: pass, fail or unverified, with the reason where there is one.

#include "fleet/MachineVerdicts.h"

#include <vector>

namespace fleet {

// Sets state and reason of every verdict. For now a verdict's state follows its passed flag alone
// and carries no reason: no pass is yet told apart as one that did not look.
void AssessVerdicts(std::vector<Verdict>& verdicts);

}  // namespace fleet
