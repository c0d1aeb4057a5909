#pragma once
// Tells a verdict that rests on what its check read from one that does not: a pass that never
// looked (unverified) and a fail that comes only from a read that failed. It works from what a
// run leaves behind, the results document and, where the administrator kept it, the console, and
// from the unread paths of the check's catalogue row (CheckEntry::unread); it is pure.
//
// For a tool that reports on verdicts (the fleet, the report): for each <test> of a results
// document call ClassifyVerdict with its name, passed and more_info lines, and with the run's
// console where it was collected (ConsoleScope::WholeRun; ConsoleScope::CheckAlone only for the
// console of a run of that one check). Show Unverified as "passed, not verified" with its reason,
// counted apart from passes; a Fail with a reason stays a fail and shows the reason too.
//
// What the results document alone cannot tell, it cannot tell here either: a path whose row says
// MoreInfoShape::Any is found only through the console, and some paths through nothing at all
// (docs/checks.md says which for every check). Such a verdict comes back as a plain pass or fail.

#include <span>
#include <string>
#include <string_view>

enum class VerdictState { Pass, Fail, Unverified };

// Which console lines the caller has. The program writes every test name when it reads the
// document, before any check runs, so a check's own lines cannot be cut out of a whole run.
enum class ConsoleScope {
    // None was collected.
    None,
    // The whole run's console: only lines that one check alone writes can be looked for.
    WholeRun,
    // The console of a run of this check alone, without the echoed name.
    CheckAlone,
};

struct ConsoleLines {
    ConsoleScope scope = ConsoleScope::None;
    // One entry per line, without its line end; empty lines are passed over.
    std::span<const std::wstring> lines = {};
};

struct CheckVerdict {
    // The result name, as the results document carries it.
    std::wstring_view check;
    bool passed = false;
    std::span<const std::wstring> moreInfo = {};
};

struct ClassifiedVerdict {
    VerdictState state = VerdictState::Fail;
    // Why the verdict does not rest on what the check read; empty when it does, or when nothing
    // that the run left behind tells. Several paths that the evidence cannot tell apart give
    // their reasons joined by "; or ".
    std::wstring reason;

    bool operator==(const ClassifiedVerdict&) const = default;
};

[[nodiscard]] ClassifiedVerdict ClassifyVerdict(const CheckVerdict& verdict, const ConsoleLines& console = {});
