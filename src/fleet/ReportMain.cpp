// tarnwick-report: the report page (and, if asked, the CSV file) for results documents collected
// from machines, each machine named by its document's file name.

#include "fleet/ReportFiles.h"
#include "fleet/ReportPage.h"
#include "fleet/ResultsVerdicts.h"
#include "fleet/VerdictCsv.h"
#include "fleet/VerdictGrid.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: tarnwick-report -o report.html [--csv verdicts.csv] results.xml...\n"
    "  Writes one page with the verdicts of every results document, each machine named by its\n"
    "  document's file name. The exit code is 0 when every document was read, 2 when some could\n"
    "  not be (the page says why), 1 when nothing could be written.\n";
constexpr int UsageError = 1;
constexpr int DocumentsWithoutVerdicts = 2;
constexpr const char* Heading = "Results documents from ";
constexpr const char* MachinesWord = " machines";

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
    std::vector<std::filesystem::path> documents;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-o" && i + 1 < argc) {
            page = argv[++i];
        } else if (argument == "--csv" && i + 1 < argc) {
            csv = argv[++i];
        } else if (!argument.starts_with('-')) {
            documents.emplace_back(argument);
        } else {
            documents.clear();
            break;
        }
    }
    if (page.empty() || documents.empty()) {
        std::fputs(Usage, stderr);
        return UsageError;
    }
    std::vector<fleet::MachineVerdicts> machines;
    bool allRead = true;
    for (const std::filesystem::path& document : documents) {
        fleet::MachineVerdicts machine{document.filename().string(), {}, {}};
        machine.problem = fleet::ReadResultsVerdicts(document, machine.verdicts);
        allRead = allRead && machine.problem.empty();
        machines.push_back(std::move(machine));
    }
    const fleet::VerdictGrid grid(machines, {});
    const std::string heading = Heading + std::to_string(machines.size()) + MachinesWord;
    if (const std::string problem = fleet::WriteReportFile(page, fleet::FormatReportPage(grid, heading, {}));
        !problem.empty()) {
        return Fail(problem);
    }
    if (!csv.empty()) {
        if (const std::string problem = fleet::WriteReportFile(csv, fleet::FormatVerdictCsv(grid)); !problem.empty()) {
            return Fail(problem);
        }
    }
    return allRead ? 0 : DocumentsWithoutVerdicts;
}
