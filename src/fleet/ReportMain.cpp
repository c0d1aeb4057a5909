// tarnwick-report: the readiness page (and, if asked, the CSV files) for results documents
// collected from machines, each machine named by its document's file name.

#include "fleet/FleetProgress.h"
#include "fleet/FleetReadiness.h"
#include "fleet/MachineCsv.h"
#include "fleet/ReportFiles.h"
#include "fleet/ReportPage.h"
#include "fleet/ResultsVerdicts.h"
#include "fleet/RunConsole.h"
#include "fleet/VerdictCsv.h"
#include "fleet/VerdictGrid.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: tarnwick-report -o report.html [--csv verdicts.csv] [--machines machines.csv] results.xml|folder...\n"
    "  Writes one page with the readiness of every machine whose results document is given (a\n"
    "  folder gives its *.xml files), each machine named by its document's file name and scanned\n"
    "  when its document was written. Where the run's console was collected beside its document\n"
    "  (NAME-console.txt beside NAME.xml), it tells more passes that did not look from real ones.\n"
    "  --csv also writes every verdict, --machines one row per machine. The exit code is 0 when\n"
    "  every document was read, 2 when some could not be (the page says why), 1 when nothing\n"
    "  could be written.\n";
constexpr int UsageError = 1;
constexpr int DocumentsWithoutVerdicts = 2;
constexpr const char* Heading = "Results documents from ";
constexpr const char* MachinesWord = " machines";
constexpr const char* ResultsExtension = ".xml";

// When the machine wrote its results document: the file's time.
fleet::ScanTime ScanTimeOf(const std::filesystem::path& document)
{
    std::error_code error;
    const std::filesystem::file_time_type written = std::filesystem::last_write_time(document, error);
    if (error) {
        return fleet::NoScanTime;
    }
    const auto time = std::chrono::file_clock::to_sys(written);
    return std::chrono::duration_cast<std::chrono::seconds>(time.time_since_epoch()).count();
}

// The documents named, a folder standing for its results documents in file-name order: a fleet's
// worth of names does not fit on one command line.
std::vector<std::filesystem::path> Documents(const std::vector<std::filesystem::path>& named)
{
    std::vector<std::filesystem::path> documents;
    for (const std::filesystem::path& path : named) {
        std::error_code error;
        if (!std::filesystem::is_directory(path, error)) {
            documents.push_back(path);
            continue;
        }
        std::vector<std::filesystem::path> inFolder;
        for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
            if (entry.path().extension() == ResultsExtension && entry.is_regular_file(error)) {
                inFolder.push_back(entry.path());
            }
        }
        std::ranges::sort(inFolder,
                          [](const auto& left, const auto& right) { return left.filename() < right.filename(); });
        documents.insert(documents.end(), inFolder.begin(), inFolder.end());
    }
    return documents;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "tarnwick-report: %s\n", message.c_str());
    return UsageError;
}

}  // namespace

int main(int argc, char** argv)
{
    std::filesystem::path page;
    std::filesystem::path csv;
    std::filesystem::path machineCsv;
    std::vector<std::filesystem::path> named;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-o" && i + 1 < argc) {
            page = argv[++i];
        } else if (argument == "--csv" && i + 1 < argc) {
            csv = argv[++i];
        } else if (argument == "--machines" && i + 1 < argc) {
            machineCsv = argv[++i];
        } else if (!argument.starts_with('-')) {
            named.emplace_back(argument);
        } else {
            named.clear();
            break;
        }
    }
    if (page.empty() || named.empty()) {
        std::fputs(Usage, stderr);
        return UsageError;
    }
    const std::vector<std::filesystem::path> documents = Documents(named);
    fleet::ReportFileStream verdictFile(csv);
    fleet::ReportFileStream machineFile(machineCsv);
    verdictFile.Write(fleet::VerdictCsvHeading(false));
    machineFile.Write(fleet::MachineCsvHeading(false));
    fleet::FleetReadiness readiness;
    bool allRead = true;
    // A machine is read, counted and written out before the next: only what the page shows of it
    // stays.
    {
        fleet::FleetProgress progress(documents.size());
        for (const std::filesystem::path& document : documents) {
            fleet::MachineVerdicts machine{document.filename().string(), {}, {}};
            machine.problem = fleet::ReadResultsVerdicts(document, machine.verdicts,
                                                         fleet::ReadRunConsole(fleet::ConsoleBeside(document)));
            allRead = allRead && machine.problem.empty();
            machineFile.Write(
                fleet::FormatMachineCsvRow(readiness, readiness.Add(machine, nullptr, ScanTimeOf(document))));
            if (verdictFile.Wanted()) {
                verdictFile.Write(fleet::FormatVerdictCsvRows(fleet::VerdictGrid({machine}, {})));
            }
            progress.Advance();
        }
    }
    const std::string heading = Heading + std::to_string(documents.size()) + MachinesWord;
    for (const std::string& problem : {fleet::WriteReportFile(page, fleet::FormatReportPage(readiness, heading, {})),
                                       verdictFile.Finish(), machineFile.Finish()}) {
        if (!problem.empty()) {
            return Fail(problem);
        }
    }
    return allRead ? 0 : DocumentsWithoutVerdicts;
}
