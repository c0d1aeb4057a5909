#include "framework/VerdictClassifier.h"

#include "framework/CheckCatalogue.h"

#include <algorithm>
#include <vector>

namespace {

bool MoreInfoMatches(const UnreadPath& path, std::span<const std::wstring> lines)
{
    switch (path.moreInfo) {
    case MoreInfoShape::Any: return true;
    case MoreInfoShape::NoLine: return lines.empty();
    case MoreInfoShape::OneEmptyLine: return lines.size() == 1 && lines[0].empty();
    case MoreInfoShape::FirstLineEmpty: return !lines.empty() && lines[0].empty();
    case MoreInfoShape::OneLineEqual: return lines.size() == 1 && lines[0] == path.moreInfoText;
    }
    return false;
}

// Whether the console lines can show the path at all: a whole run's console holds the lines of
// every check, so only a line of this check's own tells there.
bool ConsoleTells(const UnreadPath& path, ConsoleScope scope)
{
    if (path.console == ConsoleShape::Any || scope == ConsoleScope::None) {
        return false;
    }
    return scope == ConsoleScope::CheckAlone || path.console == ConsoleShape::HasLine;
}

bool ConsoleMatches(const UnreadPath& path, std::span<const std::wstring> lines)
{
    std::vector<std::wstring_view> written;
    for (const std::wstring& line : lines) {
        if (!line.empty()) {
            written.emplace_back(line);
        }
    }
    switch (path.console) {
    case ConsoleShape::Any: return true;
    case ConsoleShape::HasLine:
        return std::ranges::any_of(written, [&](std::wstring_view line) { return line.starts_with(path.consoleText); });
    case ConsoleShape::NoLine: return written.empty();
    case ConsoleShape::OnlyLine: return written.size() == 1 && written[0] == path.consoleText;
    }
    return false;
}

}  // namespace

ClassifiedVerdict ClassifyVerdict(const CheckVerdict& verdict, const ConsoleLines& console)
{
    ClassifiedVerdict classified{verdict.passed ? VerdictState::Pass : VerdictState::Fail, {}};
    const CheckEntry* entry = FindCheckByResultName(verdict.check);
    if (entry == nullptr) {
        return classified;
    }
    const UnreadOutcome outcome = verdict.passed ? UnreadOutcome::Passes : UnreadOutcome::Fails;
    for (const UnreadPath& path : UnreadPaths(*entry)) {
        const bool moreInfoTells = path.moreInfo != MoreInfoShape::Any;
        const bool consoleTells = ConsoleTells(path, console.scope);
        if (path.outcome != outcome || (!moreInfoTells && !consoleTells) || !MoreInfoMatches(path, verdict.moreInfo) ||
            (consoleTells && !ConsoleMatches(path, console.lines))) {
            continue;
        }
        if (!classified.reason.empty()) {
            classified.reason += L"; or ";
        }
        classified.reason += path.reason;
    }
    if (verdict.passed && !classified.reason.empty()) {
        classified.state = VerdictState::Unverified;
    }
    return classified;
}
