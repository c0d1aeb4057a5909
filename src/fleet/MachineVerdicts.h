#pragma once
// What one machine of a fleet answered to an input document: the verdict of every check the run
// created, in run order, with the lines that explain it, or the reason there is none.

#include <string>
#include <vector>

namespace fleet {

struct Verdict {
    std::wstring check;
    bool passed = false;
    std::vector<std::wstring> moreInfo{};
    std::wstring descriptiveName{};
    std::vector<std::wstring> solutions{};
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
