// tarnwick-fleet: runs an input document against every machine profile in a folder and prints
// the verdicts as a table of machines against checks; with a second input document, prints only
// the verdicts that change between the two, machine by machine. It can also write the fleet's
// readiness as a report page, and the verdicts and the machines as CSV files.

#include "fleet/FleetProgress.h"
#include "fleet/FleetReadiness.h"
#include "fleet/FleetReplay.h"
#include "fleet/MachineCsv.h"
#include "fleet/ReportPage.h"
#include "fleet/ReportFiles.h"
#include "fleet/VerdictCsv.h"
#include "fleet/VerdictGrid.h"
#include "fleet/VerdictTable.h"
#include "winapi/Utf8.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: tarnwick-fleet -i input.xml [-c changed-input.xml] [-l language] [--html report.html]\n"
    "                      [--csv verdicts.csv] [--machines machines.csv] [-j jobs] profile-folder\n"
    "  Runs input.xml against every *.json machine profile in profile-folder and prints each\n"
    "  machine's verdicts. With -c, prints only the verdicts that change from input.xml to\n"
    "  changed-input.xml. -l runs the documents in that language, as the program's -l does.\n"
    "  --html writes the fleet's readiness as a page, --csv every verdict with its lines and\n"
    "  --machines one row per machine (with -c, those of changed-input.xml, compared with\n"
    "  input.xml). -j sets how many machines run at once (default: one per processor). The exit\n"
    "  code is 0 when every machine gave verdicts, 2 when some did not, 1 when nothing could be\n"
    "  run or written.\n";
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
    std::filesystem::path machineCsv;
    std::string language;
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
        } else if (argument == "--machines" && hasValue) {
            options.machineCsv = argv[++i];
        } else if (argument == "-l" && hasValue) {
            options.language = argv[++i];
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
    const bool compares = !options.changedInput.empty();
    if (compares) {
        inputs.push_back(absolute(options.changedInput));
    }
    std::vector<std::wstring> programArguments;
    if (!options.language.empty()) {
        programArguments = {L"-l", winapi::FromUtf8(options.language)};
    }

    // The files show the run of the last document, compared with the first when there are two.
    // Each machine is taken in as soon as its runs are read, in the order of the profiles, and
    // only what the console, the page and the files still need of it is kept.
    fleet::ReportFileStream verdictFile(options.csv);
    fleet::ReportFileStream machineFile(options.machineCsv);
    verdictFile.Write(fleet::VerdictCsvHeading(compares));
    machineFile.Write(fleet::MachineCsvHeading(compares));
    fleet::FleetReadiness readiness;
    std::vector<fleet::ColumnKey> columns;
    std::vector<fleet::MachineOutcomes> table;
    std::string changes;
    std::size_t changedMachines = 0;
    std::size_t changedVerdicts = 0;
    bool withoutVerdicts = false;
    const auto take = [&](const std::vector<fleet::MachineVerdicts>& runs) {
        const fleet::MachineVerdicts& now = runs.back();
        const fleet::MachineVerdicts* before = compares ? &runs.front() : nullptr;
        withoutVerdicts = withoutVerdicts || std::ranges::any_of(runs, [](const fleet::MachineVerdicts& machine) {
                              return !machine.problem.empty();
                          });
        if (compares) {
            const std::string lines = fleet::FormatMachineChanges(runs.front(), now, changedVerdicts);
            changedMachines += lines.empty() ? 0u : 1u;
            changes += lines;
        } else {
            table.push_back(fleet::OutcomesOf(now, columns));
        }
        // The fleet replays every machine now: the time its runs were read is its scan time.
        const auto scanned = static_cast<fleet::ScanTime>(std::time(nullptr));
        machineFile.Write(fleet::FormatMachineCsvRow(readiness, readiness.Add(now, before, scanned)));
        if (verdictFile.Wanted()) {
            const fleet::VerdictGrid grid({now},
                                          compares ? std::vector{runs.front()} : std::vector<fleet::MachineVerdicts>{});
            verdictFile.Write(fleet::FormatVerdictCsvRows(grid));
        }
    };
    std::map<std::size_t, std::vector<fleet::MachineVerdicts>> waiting;
    std::size_t next = 0;
    {
        fleet::FleetProgress progress(profiles.size());
        fleet::ReplayFleet(inputs, profiles, scratch, options.jobs, programArguments,
                           [&](std::size_t machine, std::vector<fleet::MachineVerdicts>& runs) {
                               progress.Advance();
                               waiting.emplace(machine, std::move(runs));
                               for (; !waiting.empty() && waiting.begin()->first == next; ++next) {
                                   take(waiting.begin()->second);
                                   waiting.erase(waiting.begin());
                               }
                           });
    }
    std::filesystem::remove_all(scratch, error);
    const std::string report =
        compares ? changes + fleet::FormatChangeCount(changedMachines, profiles.size(), changedVerdicts)
                 : fleet::FormatVerdictTable(columns, table);
    std::fputs(report.c_str(), stdout);

    const std::string ran = (compares ? options.changedInput : options.input).filename().string();
    const std::string heading = ran + HeadingBetween + options.folder.string();
    const std::string pageProblem =
        options.page.empty()
            ? std::string()
            : fleet::WriteReportFile(options.page,
                                     fleet::FormatReportPage(readiness, heading, options.input.filename().string()));
    for (const std::string& problem : {pageProblem, verdictFile.Finish(), machineFile.Finish()}) {
        if (!problem.empty()) {
            return Fail(problem);
        }
    }
    return withoutVerdicts ? MachinesWithoutVerdicts : 0;
}
