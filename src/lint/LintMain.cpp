#include "lint/LintMain.h"

#include "framework/TraceLog.h"
#include "lint/InputDocumentLint.h"
#include "lint/LintMessages.h"
#include "platform/Console.h"
#include "winapi/UniqueCoInit.h"
#include "winapi/Win32.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace msg = lint_messages;

constexpr int Clean = 0;
constexpr int WarningsOnly = 1;
constexpr int Errors = 2;
const std::wstring DefaultLanguage = L"en";

struct LintOptions {
    std::wstring input;
    std::vector<std::wstring> languages;
    bool quiet = false;
};

std::optional<LintOptions> ParseCommandLine()
{
    const std::vector<std::wstring> arguments = winapi::CommandLineToArgvW(winapi::GetCommandLineW());
    LintOptions options;
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        const std::wstring& argument = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        if (argument == L"-i" && hasValue) {
            options.input = arguments[++index];
        } else if (argument == L"-l" && hasValue) {
            options.languages.push_back(arguments[++index]);
        } else if (argument == L"-q") {
            options.quiet = true;
        } else {
            return std::nullopt;
        }
    }
    if (options.input.empty()) {
        return std::nullopt;
    }
    if (options.languages.empty()) {
        options.languages.push_back(DefaultLanguage);
    }
    return options;
}

// Line breaks and tabs of a name shown as escapes, so that each finding stays on one line.
std::wstring Visible(const std::wstring& text)
{
    std::wstring shown;
    for (const wchar_t c : text) {
        shown += c == L'\n'   ? std::wstring(L"\\n")
                 : c == L'\r' ? std::wstring(L"\\r")
                 : c == L'\t' ? std::wstring(L"\\t")
                              : std::wstring(1, c);
    }
    return shown;
}

void Print(const std::wstring& path, const LintFinding& finding)
{
    const std::wstring severity(finding.severity == LintSeverity::Error ? msg::Error : msg::Warning);
    if (finding.line > 0) {
        ConsolePrintf(msg::AtLine, path, finding.line, finding.column, severity);
    } else if (finding.test > 0) {
        ConsolePrintf(msg::AtTest, path, finding.test, Visible(finding.testName), severity);
    } else {
        ConsolePrintf(msg::AtDocument, path, severity);
    }
    ConsolePrintf("%wS\n", finding.text);
}

}  // namespace

int TarnwickLintMain()
{
    const std::optional<LintOptions> options = ParseCommandLine();
    if (!options) {
        ConsolePrintf(msg::Usage);
        return Errors;
    }
    std::vector<LintFinding> findings;
    {
        const winapi::UniqueCoInit com(winapi::COINIT_APARTMENTTHREADED);
        if (!com.Entered()) {
            ConsolePrintf(msg::ComFailed);
            return Errors;
        }
        // The reading traces as it does in a run; the linter's own report is all its user needs.
        MuteTrace();
        findings = LintInputDocument(options->input, options->languages);
    }
    std::ranges::stable_sort(findings, {}, [](const LintFinding& finding) { return finding.test; });
    const auto errors = std::ranges::count(findings, LintSeverity::Error, &LintFinding::severity);
    const auto warnings = static_cast<std::ptrdiff_t>(findings.size()) - errors;
    for (const LintFinding& finding : findings) {
        if (!options->quiet || finding.severity == LintSeverity::Error) {
            Print(options->input, finding);
        }
    }
    if (!findings.empty()) {
        ConsolePrintf(msg::Summary, errors, warnings);
    }
    return errors > 0 ? Errors : warnings > 0 ? WarningsOnly : Clean;
}
