#pragma once
// The one place where a verdict read from a results document gets its state for the fleet's
// reports: pass, fail or unverified (a pass that did not read what it decides on), with the reason
// where a check's catalogue row names one, from the results document and, where it was kept, the
// run's console (framework/VerdictClassifier.h says what each can tell).

#include "fleet/MachineVerdicts.h"
#include "fleet/RunConsole.h"

#include <vector>

namespace fleet {

// Sets state and reason of every verdict of one run.
void AssessVerdicts(std::vector<Verdict>& verdicts, const RunConsole& console);

}  // namespace fleet
