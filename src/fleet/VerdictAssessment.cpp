#include "fleet/VerdictAssessment.h"

#include "framework/VerdictClassifier.h"
#include "winapi/Utf8.h"

namespace fleet {

void AssessVerdicts(std::vector<Verdict>& verdicts, const RunConsole& console)
{
    const ConsoleLines lines =
        console ? ConsoleLines{.scope = ConsoleScope::WholeRun, .lines = *console} : ConsoleLines{};
    for (Verdict& verdict : verdicts) {
        const ClassifiedVerdict classified =
            ClassifyVerdict({.check = verdict.check, .passed = verdict.passed, .moreInfo = verdict.moreInfo}, lines);
        verdict.state = classified.state;
        verdict.reason = winapi::ToUtf8(classified.reason);
    }
}

}  // namespace fleet
