#include "fleet/FailureLines.h"

#include "winapi/Utf8.h"

#include <algorithm>
#include <span>

namespace fleet {

namespace {

// One more-info line of a check: its label, "{}" standing for the line's text, and whether the
// text belongs to the one machine (left out of the grouping reason).
struct LineFact {
    std::string_view label = "{}";
    bool oneMachine = false;
};

// The facts of one check's lines, in the order the check adds them; the last fact holds for every
// further line (a line per volume, per device).
struct CheckLines {
    std::wstring_view resultName;
    std::span<const LineFact> lines;
    // The failure in words, for when every line belongs to the machine alone.
    std::string_view failure = {};
};

constexpr LineFact BiosLines[] = {{.label = "BIOS version {}"}, {.label = "BIOS date {}"}};
constexpr LineFact BoardLines[] = {{.label = "board {}"}};
constexpr LineFact ProcessorLines[] = {{.label = "processor {}"}};
constexpr LineFact FreeSpaceLines[] = {{.label = "free {} MB", .oneMachine = true}};
constexpr LineFact ContiguousLines[] = {{.label = "longest free run {}", .oneMachine = true}};
constexpr LineFact DiskCountLines[] = {{.label = "{} disks"}};
constexpr LineFact DiskSizeLines[] = {{.label = "a drive of {} MB", .oneMachine = true}};
constexpr LineFact RaidLines[] = {{.label = "drive, bus number and bus {}", .oneMachine = true}};
constexpr LineFact VolumeNameLines[] = {{.label = "volume {}", .oneMachine = true}};
constexpr LineFact RecoveryLines[] = {{.label = "recovery partition {}"}};
constexpr LineFact VolumeCountLines[] = {{.label = "{} volumes"}};
constexpr LineFact MountPointLines[] = {{.label = "mount point {}", .oneMachine = true}};
constexpr LineFact SystemDirectoryLines[] = {{.label = "system directory {}"}};
constexpr LineFact MemoryLines[] = {{.label = "needed {} MB"}, {.label = "installed {} MB"}};
constexpr LineFact LocationLines[] = {{.label = "found in {}"}};
constexpr LineFact DeviceLines[] = {{.label = "device {}"}};

// These facts belong in the check catalogue's rows (framework/CheckCatalogue.h), beside each
// check's description of its more-info lines; they stay here until the rows carry them.
// A check not named here has each line as it stands, shared between machines.
constexpr CheckLines Checks[] = {
    {.resultName = L"BlacklistBiosTest", .lines = BiosLines},
    {.resultName = L"WhitelistBiosTest", .lines = BiosLines},
    {.resultName = L"BlacklistMotherboardTest", .lines = BoardLines},
    {.resultName = L"WhitelistMotherboardTest", .lines = BoardLines},
    {.resultName = L"BlacklistProcessorTest", .lines = ProcessorLines},
    {.resultName = L"WhitelistProcessorTest", .lines = ProcessorLines},
    {.resultName = L"FreeHardDiskSpaceTest", .lines = FreeSpaceLines, .failure = "too little free space"},
    {.resultName = L"ContiguousFreeHardDiskSpaceTest",
     .lines = ContiguousLines,
     .failure = "too little contiguous free space"},
    {.resultName = L"DiskLimitTest", .lines = DiskCountLines},
    {.resultName = L"DiskSizeLimitTest", .lines = DiskSizeLines, .failure = "a drive too large"},
    {.resultName = L"RaidTest", .lines = RaidLines, .failure = "a drive on a RAID bus"},
    {.resultName = L"DynamicVolumeTest", .lines = VolumeNameLines, .failure = "a dynamic volume"},
    {.resultName = L"RecoveryTest", .lines = RecoveryLines},
    {.resultName = L"CompressedRootTest", .lines = VolumeNameLines, .failure = "a compressed volume root"},
    {.resultName = L"HiddenVolumeTest", .lines = VolumeNameLines, .failure = "a volume without a letter"},
    {.resultName = L"VolumeLimitTest", .lines = VolumeCountLines},
    {.resultName = L"VolumeMountPointTest", .lines = MountPointLines, .failure = "a volume mount point"},
    {.resultName = L"SystemDriveAccessibleByLetterDriveTest", .lines = SystemDirectoryLines},
    {.resultName = L"MemoryTest", .lines = MemoryLines},
    {.resultName = L"QuillonInstallationTest", .lines = LocationLines},
    {.resultName = L"BlacklistUSBDeviceTest", .lines = DeviceLines},
    {.resultName = L"WhitelistUSBDeviceTest", .lines = DeviceLines},
};

constexpr LineFact PlainLine{};
constexpr std::string_view ValueMark = "{}";
constexpr std::string_view Trailing = " \t\r\n";
constexpr const char* ReasonSeparator = ", ";
// An empty line says something (the value could not be read, or is blank): it shows as this.
constexpr const char* EmptyValue = "(empty)";

const CheckLines* LinesOf(std::wstring_view resultName)
{
    const auto found = std::ranges::find(Checks, resultName, &CheckLines::resultName);
    return found == std::end(Checks) ? nullptr : &*found;
}

const LineFact& FactOf(const CheckLines* check, std::size_t index)
{
    if (check == nullptr || check->lines.empty()) {
        return PlainLine;
    }
    return check->lines[std::min(index, check->lines.size() - 1)];
}

std::string Labelled(const LineFact& fact, const std::wstring& line)
{
    std::string text = winapi::ToUtf8(line);
    text.erase(text.find_last_not_of(Trailing) + 1);
    if (text.empty()) {
        text = EmptyValue;
    }
    std::string labelled(fact.label);
    labelled.replace(labelled.find(ValueMark), ValueMark.size(), text);
    return labelled;
}

}  // namespace

std::string LabelledLine(std::wstring_view resultName, std::size_t index, const std::wstring& line)
{
    return Labelled(FactOf(LinesOf(resultName), index), line);
}

std::vector<std::string> LineLabels(std::wstring_view resultName)
{
    std::vector<std::string> labels;
    if (const CheckLines* check = LinesOf(resultName); check != nullptr) {
        for (const LineFact& fact : check->lines) {
            labels.emplace_back(fact.label);
        }
    }
    return labels;
}

std::string GroupingReason(const Verdict& verdict)
{
    if (!verdict.reason.empty()) {
        return verdict.reason;
    }
    if (verdict.moreInfo.empty()) {
        return NoLinesReason;
    }
    const CheckLines* check = LinesOf(verdict.check);
    std::string reason;
    for (std::size_t index = 0; index < verdict.moreInfo.size(); ++index) {
        const LineFact& fact = FactOf(check, index);
        if (!fact.oneMachine) {
            reason += (reason.empty() ? "" : ReasonSeparator) + Labelled(fact, verdict.moreInfo[index]);
        }
    }
    if (!reason.empty()) {
        return reason;
    }
    return check != nullptr && !check->failure.empty() ? std::string(check->failure) : NoLinesReason;
}

}  // namespace fleet
