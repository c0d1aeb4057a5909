#pragma once
// What one machine of a fleet answered to an input document: the verdict of every check the run
// created, in run order, with the lines that explain it, or the reason there is none.

#include "framework/VerdictClassifier.h"

#include <string>
#include <vector>

namespace fleet {

// What a verdict tells an administrator: a pass that looked at what it decides on, a failure, or
// a pass that did not look (and so says nothing about the machine).
using ::VerdictState;

struct Verdict {
    std::wstring check;
    bool passed = false;
    std::vector<std::wstring> moreInfo{};
    std::wstring descriptiveName{};
    std::vector<std::wstring> solutions{};
    // Filled by AssessVerdicts (fleet/VerdictAssessment.h) once the verdict is read.
    VerdictState state = VerdictState::Fail;
    // Why the verdict was not verified, or why it failed where only a read failed; empty otherwise.
    std::string reason{};
};

struct MachineVerdicts {
    // The profile's file name, which names the machine in the tables.
    std::string machine;
    // Empty when the run went through; otherwise why the machine has no verdicts (a refused
    // profile, an unreadable results document, or the run's own last trace lines).
    std::string problem;
    std::vector<Verdict> verdicts;
    // The run's exit code, where the fleet ran the program (not for collected results documents);
    // a worker that died on the machine leaves it -1.
    int exitCode = -1;
};

}  // namespace fleet
