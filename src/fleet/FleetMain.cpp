// tarnwick-fleet: runs an input document against every machine profile in a folder and prints
// the verdicts as a table of machines against checks; with a second input document, prints only
// the verdicts that change between the two, machine by machine.

#include "fleet/FleetReplay.h"
#include "fleet/VerdictTable.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: tarnwick-fleet -i input.xml [-c changed-input.xml] [-j jobs] profile-folder\n"
    "  Runs input.xml against every *.json machine profile in profile-folder and prints each\n"
    "  machine's verdicts. With -c, prints only the verdicts that change from input.xml to\n"
    "  changed-input.xml. -j sets how many machines run at once (default: one per processor).\n";
constexpr int UsageError = 1;
constexpr const char* ScratchPattern = "tarnwick-fleet-XXXXXX";

struct Options {
    std::filesystem::path input;
    std::filesystem::path changedInput;
    std::filesystem::path folder;
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "-i" && hasValue) {
            options.input = argv[++i];
        } else if (argument == "-c" && hasValue) {
            options.changedInput = argv[++i];
        } else if (argument == "-j" && hasValue) {
            const long jobs = std::strtol(argv[++i], nullptr, 10);
            if (jobs < 1) {
                return false;
            }
            options.jobs = static_cast<unsigned>(jobs);
        } else if (options.folder.empty() && !argument.starts_with('-')) {
            options.folder = argument;
        } else {
            return false;
        }
    }
    return !options.input.empty() && !options.folder.empty();
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "tarnwick-fleet: %s\n", message.c_str());
    return UsageError;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(Usage, stderr);
        return UsageError;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.folder, error)) {
        return Fail("\"" + options.folder.string() + "\" is no folder");
    }
    for (const std::filesystem::path& document : {options.input, options.changedInput}) {
        if (!document.empty() && !std::filesystem::is_regular_file(document, error)) {
            return Fail("input document \"" + document.string() + "\" cannot be read");
        }
    }
    std::string scratchTemplate = (std::filesystem::temp_directory_path() / ScratchPattern).string();
    if (::mkdtemp(scratchTemplate.data()) == nullptr) {
        return Fail("cannot make a scratch folder in " + std::filesystem::temp_directory_path().string());
    }
    const std::filesystem::path scratch = scratchTemplate;
    const std::vector<std::filesystem::path> profiles = fleet::ProfilesInFolder(options.folder);
    const auto absolute = [](const std::filesystem::path& path) { return std::filesystem::absolute(path); };

    // Each document's run writes its results documents to a folder of its own.
    const auto replay = [&](const std::filesystem::path& input, const char* name) {
        std::filesystem::create_directory(scratch / name, error);
        return fleet::ReplayFleet(absolute(input), profiles, scratch / name, options.jobs);
    };
    std::string report;
    const auto before = replay(options.input, "first");
    if (options.changedInput.empty()) {
        report = fleet::FormatVerdictTable(before);
    } else {
        const auto after = replay(options.changedInput, "second");
        report = fleet::FormatVerdictChanges(before, after);
    }
    std::filesystem::remove_all(scratch, error);
    std::fputs(report.c_str(), stdout);
    return 0;
}
