#include "winapi/simulated/system/CommandLine.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/Win32.h"

namespace winapi::sim {

namespace {

std::wstring& StoredCommandLine()
{
    static std::wstring commandLine;
    return commandLine;
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Quotes one argument after the first: backslashes only double where a quote follows them.
std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

}  // namespace

std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments)
{
    std::wstring commandLine;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i == 0) {
            // The program path is only ever quoted whole; it has no escapes.
            const bool quote = arguments[0].empty() || arguments[0].find_first_of(L" \t") != std::wstring::npos;
            commandLine = quote ? L"\"" + arguments[0] + L"\"" : arguments[0];
        } else {
            commandLine += L' ';
            commandLine += QuoteArgument(arguments[i]);
        }
    }
    return commandLine;
}

void SetProcessCommandLine(std::wstring commandLine)
{
    StoredCommandLine() = std::move(commandLine);
}

const std::wstring& ProcessCommandLine()
{
    return StoredCommandLine();
}

void ResetProcessCommandLine()
{
    StoredCommandLine().clear();
}

}  // namespace winapi::sim

namespace winapi {

std::wstring GetCommandLineW()
{
    return sim::ProcessCommandLine();
}

std::vector<std::wstring> CommandLineToArgvW(const std::wstring& commandLine)
{
    std::vector<std::wstring> arguments;
    std::size_t at = 0;
    const std::size_t end = commandLine.size();
    // The program path: up to the closing quote, or up to the first blank; no escapes.
    std::wstring program;
    if (at < end && commandLine[at] == L'"') {
        ++at;
        while (at < end && commandLine[at] != L'"') {
            program += commandLine[at++];
        }
        if (at < end) {
            ++at;
        }
    } else {
        while (at < end && !sim::IsBlank(commandLine[at])) {
            program += commandLine[at++];
        }
    }
    arguments.push_back(std::move(program));

    // The other arguments: 2n backslashes before a quote give n backslashes and open or close a
    // quoted part, 2n+1 give n backslashes and a literal quote; "" inside quotes is a quote.
    while (true) {
        while (at < end && sim::IsBlank(commandLine[at])) {
            ++at;
        }
        if (at >= end) {
            break;
        }
        std::wstring argument;
        bool quoted = false;
        while (at < end && (quoted || !sim::IsBlank(commandLine[at]))) {
            std::size_t backslashes = 0;
            while (at < end && commandLine[at] == L'\\') {
                ++backslashes;
                ++at;
            }
            if (at < end && commandLine[at] == L'"') {
                argument.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    argument += L'"';
                    ++at;
                } else if (quoted && at + 1 < end && commandLine[at + 1] == L'"') {
                    argument += L'"';
                    at += 2;
                } else {
                    quoted = !quoted;
                    ++at;
                }
            } else {
                argument.append(backslashes, L'\\');
                if (at < end && (quoted || !sim::IsBlank(commandLine[at]))) {
                    argument += commandLine[at++];
                }
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace winapi
