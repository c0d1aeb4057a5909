// tarnwick-fleet: runs an input document against every machine profile in a folder and prints
// the verdicts as a table of machines against checks; with a second input document, prints only
// the verdicts that change between the two, machine by machine. It can also write the verdicts as
// a CSV file and as a report page.

#include "fleet/FleetReadiness.h"
#include "fleet/FleetReplay.h"
#include "fleet/ReportPage.h"
#include "fleet/ReportFiles.h"
#include "fleet/VerdictCsv.h"
#include "fleet/VerdictGrid.h"
#include "fleet/VerdictTable.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: tarnwick-fleet -i input.xml [-c changed-input.xml] [--html report.html] [--csv verdicts.csv]\n"
    "                      [-j jobs] profile-folder\n"
    "  Runs input.xml against every *.json machine profile in profile-folder and prints each\n"
    "  machine's verdicts. With -c, prints only the verdicts that change from input.xml to\n"
    "  changed-input.xml. --html and --csv also write every verdict with its lines as a page and\n"
    "  as a CSV file (with -c, those of changed-input.xml, the changes marked). -j sets how many\n"
    "  machines run at once (default: one per processor). The exit code is 0 when every machine\n"
    "  gave verdicts, 2 when some did not, 1 when nothing could be run or written.\n";
constexpr int UsageError = 1;
constexpr int MachinesWithoutVerdicts = 2;
constexpr const char* HeadingBetween = " on the machines of ";
constexpr const char* ScratchPattern = "tarnwick-fleet-XXXXXX";
// Memory-backed when the system has it: every machine writes a results document and a trace that
// the replay reads back, and creating them on a disk file system was 7 % of a machine's start.
constexpr const char* MemoryFolder = "/dev/shm";

std::filesystem::path ScratchParent()
{
    std::error_code error;
    if (std::filesystem::is_directory(MemoryFolder, error) && ::access(MemoryFolder, W_OK) == 0) {
        return MemoryFolder;
    }
    return std::filesystem::temp_directory_path();
}

struct Options {
    std::filesystem::path input;
    std::filesystem::path changedInput;
    std::filesystem::path folder;
    std::filesystem::path page;
    std::filesystem::path csv;
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
        } else if (argument == "--html" && hasValue) {
            options.page = argv[++i];
        } else if (argument == "--csv" && hasValue) {
            options.csv = argv[++i];
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
    std::string scratchTemplate = (ScratchParent() / ScratchPattern).string();
    if (::mkdtemp(scratchTemplate.data()) == nullptr) {
        return Fail("cannot make a scratch folder in " + ScratchParent().string());
    }
    const std::filesystem::path scratch = scratchTemplate;
    const std::vector<std::filesystem::path> profiles = fleet::ProfilesInFolder(options.folder);
    const auto absolute = [](const std::filesystem::path& path) { return std::filesystem::absolute(path); };

    std::vector<std::filesystem::path> inputs{absolute(options.input)};
    if (!options.changedInput.empty()) {
        inputs.push_back(absolute(options.changedInput));
    }
    const std::vector<std::vector<fleet::MachineVerdicts>> documents =
        fleet::ReplayFleet(inputs, profiles, scratch, options.jobs);
    const std::vector<fleet::MachineVerdicts>& first = documents.front();
    const std::vector<fleet::MachineVerdicts> second =
        documents.size() > 1 ? documents.back() : std::vector<fleet::MachineVerdicts>{};
    const std::string report =
        options.changedInput.empty() ? fleet::FormatVerdictTable(first) : fleet::FormatVerdictChanges(first, second);
    std::filesystem::remove_all(scratch, error);
    std::fputs(report.c_str(), stdout);

    // The files show the run of the last document, marked against the first when there are two.
    const bool compares = !options.changedInput.empty();
    const fleet::VerdictGrid grid(compares ? second : first, compares ? first : std::vector<fleet::MachineVerdicts>{});
    const std::string ran = (compares ? options.changedInput : options.input).filename().string();
    const std::string heading = ran + HeadingBetween + options.folder.string();
    if (!options.page.empty()) {
        // The fleet replays every machine now: the time of the replay is each machine's scan time.
        const auto now = static_cast<fleet::ScanTime>(std::time(nullptr));
        fleet::FleetReadiness readiness;
        for (std::size_t index = 0; index < first.size(); ++index) {
            readiness.Add(compares ? second[index] : first[index], compares ? &first[index] : nullptr, now);
        }
        const std::string page = fleet::FormatReportPage(readiness, heading, options.input.filename().string());
        if (const std::string problem = fleet::WriteReportFile(options.page, page); !problem.empty()) {
            return Fail(problem);
        }
    }
    if (!options.csv.empty()) {
        if (const std::string problem = fleet::WriteReportFile(options.csv, fleet::FormatVerdictCsv(grid));
            !problem.empty()) {
            return Fail(problem);
        }
    }
    const auto withoutVerdicts = [](const std::vector<fleet::MachineVerdicts>& machines) {
        return std::any_of(machines.begin(), machines.end(),
                           [](const fleet::MachineVerdicts& machine) { return !machine.problem.empty(); });
    };
    return withoutVerdicts(first) || withoutVerdicts(second) ? MachinesWithoutVerdicts : 0;
}
