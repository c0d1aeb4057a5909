#include "fleet/MachineCsv.h"

#include "fleet/VerdictCsv.h"

#include <ctime>
#include <vector>

namespace fleet {

namespace {

constexpr const char* Heading[] = {"machine", "status", "blocking", "unverified", "scan_time", "reason"};
constexpr const char* BeforeHeading = "status_before";
constexpr char ListSeparator = ';';
constexpr const char* ScanTimeFormat = "%Y-%m-%dT%H:%M:%SZ";
constexpr std::size_t ScanTimeLength = sizeof "2026-12-07T09:06:26Z";

std::string ChecksIn(const FleetReadiness& readiness, const MachineRecord& machine, VerdictState state)
{
    std::string checks;
    for (const KeptVerdict& verdict : machine.verdicts) {
        if (verdict.state == state) {
            if (!checks.empty()) {
                checks += ListSeparator;
            }
            checks += readiness.Checks()[verdict.check].label;
        }
    }
    return checks;
}

}  // namespace

std::string MachineCsvHeading(bool compares)
{
    std::vector<std::string> heading(std::begin(Heading), std::end(Heading));
    if (compares) {
        heading.emplace_back(BeforeHeading);
    }
    return CsvRow(heading);
}

std::string FormatMachineCsvRow(const FleetReadiness& readiness, const MachineRecord& machine)
{
    std::vector<std::string> cells{machine.name,
                                   std::string(StatusWord(machine.status)),
                                   ChecksIn(readiness, machine, VerdictState::Fail),
                                   ChecksIn(readiness, machine, VerdictState::Unverified),
                                   FormatScanTime(machine.scanTime),
                                   machine.problem};
    if (machine.before) {
        cells.emplace_back(StatusWord(*machine.before));
    }
    return CsvRow(cells);
}

std::string FormatScanTime(ScanTime time)
{
    if (time == NoScanTime) {
        return {};
    }
    const auto seconds = static_cast<std::time_t>(time);
    std::tm parts{};
    if (::gmtime_r(&seconds, &parts) == nullptr) {
        return {};
    }
    char text[ScanTimeLength] = {};
    return std::string(text, std::strftime(text, sizeof text, ScanTimeFormat, &parts));
}

}  // namespace fleet
