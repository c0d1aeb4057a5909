#include "main/RunMode.h"

#include "framework/TestRunner.h"
#include "framework/TraceLog.h"
#include "platform/Console.h"
#include "winapi/UniqueCoInit.h"
#include "winapi/Win32.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view UsageText =
    "Performs a variety of system tests based on the mandatory input xml file.\n"
    "If you wish to update the input xml file, you may use this program.\n"
    "For update instructions, use \"Tarnwick.exe -update /?\"\n"
    "\n"
    "Tarnwick.exe -i inputFile [-o outputFile] [-f]\n"
    "-i      Follow with the name of the input xml file that specifies which tests to run.\n"
    "-o      (Optional) Follow with the name of the output xml file that the results are written to.\n"
    "-f      Force writing the output xml file regardless of whether a file with that name exists.\n"
    "\n";

constexpr std::string_view CommandLineMessage = "[TARNWICK] %wS\n";
constexpr std::string_view InputValueMissingMessage = "[TARNWICK] -i followed by input xml file name\n";
constexpr std::string_view OutputValueMissingMessage = "[TARNWICK] -o followed by output xml file name\n";
constexpr std::string_view LanguageValueMissingMessage = "[TARNWICK] -l followed by the desired language\n";
constexpr std::string_view InvalidArgumentMessage = "[TARNWICK] %wS is an invalid command line argument\n";
constexpr std::string_view NoInputMessage = "[TARNWICK] Couldn't find file %wS\n";
constexpr std::string_view FoundInputMessage = "[TARNWICK] Found file %wS\n";
constexpr std::string_view OutputExistsMessage = "%wS already exists. To force an overwrite, use -f\n";
constexpr std::string_view ComFailedMessage = "CoInitializeEx failed...aborting the tarnwick\n";
constexpr std::string_view RunFailedMessage = "FAILURE RUNNING TARNWICK.EXE\n";

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;

constexpr std::wstring_view DefaultOutput = L"out.xml";
constexpr std::wstring_view DefaultLanguage = L"en";

struct RunOptions {
    std::optional<std::wstring> input;
    std::optional<std::wstring> output;
    std::optional<std::wstring> language;
    bool force = false;
};

struct ValueOption {
    std::wstring_view word;
    std::string_view missingMessage;
    std::optional<std::wstring> RunOptions::*target;
};

const ValueOption ValueOptions[] = {
    {L"-i", InputValueMissingMessage, &RunOptions::input},
    {L"-o", OutputValueMissingMessage, &RunOptions::output},
    {L"-l", LanguageValueMissingMessage, &RunOptions::language},
};

void PrintUsage()
{
    ConsolePrintf(UsageText);
}

bool OutputExists(const std::wstring& output)
{
    winapi::WIN32_FIND_DATAW found{};
    return winapi::FindFirstFileW(output, found).is_valid();
}

}  // namespace

int RunModeMain(const std::vector<std::wstring>& arguments)
{
    TraceLog(CommandLineMessage, winapi::GetCommandLineW());
    winapi::SetErrorMode(winapi::SEM_FAILCRITICALERRORS);

    RunOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const auto* valueOption =
            std::ranges::find_if(ValueOptions, [&](const ValueOption& option) { return argument == option.word; });
        if (valueOption != std::end(ValueOptions)) {
            if (i + 1 == arguments.size()) {
                PrintUsage();
                TraceLog(valueOption->missingMessage);
                return ExitFailure;
            }
            // The next argument is the value, even when it looks like an option.
            ++i;
            options.*(valueOption->target) = arguments[i];
        } else if (argument == L"-f") {
            options.force = true;
        } else if (argument == L"/?") {
            PrintUsage();
            return ExitSuccess;
        } else {
            TraceLog(InvalidArgumentMessage, argument);
        }
    }

    if (!options.input) {
        TraceLog(NoInputMessage, static_cast<const wchar_t*>(nullptr));
        PrintUsage();
        return ExitFailure;
    }
    TraceLog(FoundInputMessage, *options.input);
    const std::wstring output = options.output.value_or(std::wstring(DefaultOutput));
    if (!options.force && OutputExists(output)) {
        TraceLog(OutputExistsMessage, output);
        ConsolePrintf(OutputExistsMessage, output);
        return ExitFailure;
    }
    const winapi::UniqueCoInit com(winapi::COINIT_APARTMENTTHREADED);
    if (!com.Entered()) {
        TraceLog(ComFailedMessage);
        return ExitFailure;
    }
    TestRunner runner(*options.input, output, options.language.value_or(std::wstring(DefaultLanguage)));
    if (winapi::FAILED(runner.Execute())) {
        TraceLog(RunFailedMessage);
    }
    return ExitSuccess;
}
