#include "fleet/FailureLines.h"
#include "fleet/FleetProgress.h"
#include "fleet/FleetReadiness.h"
#include "fleet/MachineCsv.h"
#include "fleet/MachineStatus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fleet::MachineStatus;
using fleet::MachineVerdicts;
using fleet::Verdict;
using fleet::VerdictState;

constexpr VerdictState Pass = VerdictState::Pass;
constexpr VerdictState Fail = VerdictState::Fail;
constexpr VerdictState Unverified = VerdictState::Unverified;

Verdict Make(const wchar_t* check, VerdictState state, std::vector<std::wstring> lines = {}, std::string reason = {})
{
    Verdict verdict{check, state == Pass, std::move(lines), {}, {}};
    verdict.state = state;
    verdict.reason = std::move(reason);
    return verdict;
}

TEST(FleetReadinessTest, TheGroupingReasonKeepsWhatMachinesShareAndLabelsIt)
{
    struct Row {
        Verdict verdict;
        std::string reason;
    };
    const std::vector<Row> rows{
        {Make(L"MemoryTest", Fail, {L"4096", L"4094"}), "needed 4096 MB, installed 4094 MB"},
        // A size, a volume or a path of one machine stays out; the check's words stand instead.
        {Make(L"FreeHardDiskSpaceTest", Fail, {L"12"}), "too little free space"},
        {Make(L"ContiguousFreeHardDiskSpaceTest", Fail, {L"C:\\ 23MB"}), "too little contiguous free space"},
        {Make(L"DynamicVolumeTest", Fail, {L"\\\\?\\Volume{1}\\", L"\\\\?\\Volume{2}\\"}), "a dynamic volume"},
        // The last fact of a check holds for every further line.
        {Make(L"BlacklistUSBDeviceTest", Fail, {L"Mass Storage", L"Mouse"}), "device Mass Storage, device Mouse"},
        {Make(L"WhitelistBiosTest", Fail, {L"DELL   - 1072009, A12", L"08/25/09"}),
         "BIOS version DELL   - 1072009, A12, BIOS date 08/25/09"},
        {Make(L"WhitelistBiosTest", Fail, {L"", L""}), "BIOS version (empty), BIOS date (empty)"},
        // Blanks a check leaves at a line's end do not split a group.
        {Make(L"NETFrameworkTest", Fail, {L"2.0.50727\n"}), "2.0.50727"},
        // A check the facts do not know keeps its lines as they stand.
        {Make(L"SomeFutureTest", Fail, {L"a", L"b"}), "a, b"},
        {Make(L"DualBootTest", Fail), fleet::NoLinesReason},
        // A reason the verdict carries (a read that failed) is the group's reason.
        {Make(L"MemoryTest", Fail, {L"4096", L"0"}, "the installed memory could not be read"),
         "the installed memory could not be read"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reason);
        EXPECT_EQ(fleet::GroupingReason(row.verdict), row.reason);
    }
    EXPECT_EQ(fleet::LabelledLine(L"FreeHardDiskSpaceTest", 0, L"12"), "free 12 MB");
    EXPECT_EQ(fleet::LabelledLine(L"OSTest", 3, L"Windows 7 "), "Windows 7");
    EXPECT_EQ(fleet::LineLabels(L"MemoryTest"), (std::vector<std::string>{"needed {} MB", "installed {} MB"}));
    EXPECT_TRUE(fleet::LineLabels(L"OSTest").empty());
}

TEST(FleetReadinessTest, AMachineIsBlockedByAFailureAndNotVerifiedByAPassThatDidNotLook)
{
    struct Row {
        MachineVerdicts machine;
        MachineStatus status;
        const char* word;
    };
    const std::vector<Row> rows{
        {{"a", {}, {Make(L"OSTest", Pass), Make(L"MemoryTest", Pass)}}, MachineStatus::Ready, "ready"},
        {{"b", {}, {}}, MachineStatus::Ready, "ready"},
        {{"c", {}, {Make(L"OSTest", Unverified), Make(L"MemoryTest", Fail)}}, MachineStatus::Blocked, "blocked"},
        {{"d", {}, {Make(L"OSTest", Pass), Make(L"BiosTest", Unverified)}}, MachineStatus::NotVerified, "not verified"},
        {{"e", "profile refused", {Make(L"OSTest", Pass)}}, MachineStatus::NoVerdicts, "no verdicts"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.machine.machine);
        EXPECT_EQ(fleet::StatusOf(row.machine), row.status);
        EXPECT_EQ(fleet::StatusWord(row.status), row.word);
    }
}

TEST(FleetReadinessTest, BlockersCountMachinesPerCheckAndGroupThemByReason)
{
    const std::vector<MachineVerdicts> machines{
        {"m1", {}, {Make(L"MemoryTest", Fail, {L"4096", L"4094"}), Make(L"FreeHardDiskSpaceTest", Fail, {L"12"})}},
        {"m2", {}, {Make(L"MemoryTest", Fail, {L"4096", L"4094"}), Make(L"FreeHardDiskSpaceTest", Fail, {L"40"})}},
        {"m3", {}, {Make(L"MemoryTest", Fail, {L"4096", L"2047"}), Make(L"FreeHardDiskSpaceTest", Pass, {L"900"})}},
        {"m4",
         {},
         {Make(L"MemoryTest", Pass), Make(L"BlacklistBiosTest", Unverified, {}, "the BIOS could not be read")}},
        {"m5", {}, {Make(L"MemoryTest", Pass), Make(L"FreeHardDiskSpaceTest", Pass, {L"900"})}},
        {"m6", "run ended by signal 9", {}},
    };
    fleet::FleetReadiness readiness;
    for (const MachineVerdicts& machine : machines) {
        readiness.Add(machine, nullptr, fleet::NoScanTime);
    }
    EXPECT_EQ(readiness.Counts(), (fleet::StatusCounts{1, 3, 1, 1}));
    ASSERT_EQ(readiness.Checks().size(), 3u);
    EXPECT_EQ(readiness.Checks()[0].blocked, 3u);
    EXPECT_EQ(readiness.Checks()[1].blocked, 2u);
    EXPECT_EQ(readiness.Checks()[2].unverified, 1u);
    EXPECT_EQ(readiness.CheckTitle(2), "BlacklistBiosTest");

    std::vector<std::string> listed;
    for (const std::size_t index : readiness.GroupsInOrder()) {
        const fleet::ReasonGroup& group = readiness.Groups()[index];
        listed.push_back(readiness.Checks()[group.check].label + ": " + group.reason + " - " +
                         std::to_string(group.machines.size()));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"MemoryTest: needed 4096 MB, installed 4094 MB - 2",
                                                "MemoryTest: needed 4096 MB, installed 2047 MB - 1",
                                                "FreeHardDiskSpaceTest: too little free space - 2",
                                                "BlacklistBiosTest: the BIOS could not be read - 1"}));
    // A machine keeps only its failing and unverified verdicts, their lines shared by the fleet.
    const fleet::MachineRecord& second = readiness.Machines()[1];
    ASSERT_EQ(second.verdicts.size(), 2u);
    EXPECT_EQ(second.passed, 0u);
    EXPECT_EQ(readiness.Machines()[4].verdicts.size(), 0u);
    EXPECT_EQ(readiness.Machines()[4].passed, 2u);
    // The same lines as the group's first machine are the group's; other lines are the machine's own.
    EXPECT_FALSE(second.verdicts[0].ownLines);
    EXPECT_TRUE(second.verdicts[0].moreInfo.empty());
    const auto& memoryLines = readiness.MoreInfoOf(second.verdicts[0]);
    ASSERT_EQ(memoryLines.size(), 2u);
    EXPECT_EQ(readiness.Texts()[memoryLines[0]] + " " + readiness.Texts()[memoryLines[1]], "4096 4094");
    EXPECT_TRUE(second.verdicts[1].ownLines);
    EXPECT_EQ(readiness.Texts()[readiness.MoreInfoOf(second.verdicts[1]).at(0)], "40");
    EXPECT_EQ(readiness.Texts()[readiness.MoreInfoOf(readiness.Machines()[0].verdicts[1]).at(0)], "12");
    EXPECT_EQ(readiness.Machines()[5].problem, "run ended by signal 9");
}

TEST(FleetReadinessTest, ComparedRunsCountStatusChangesAndGroupsThatGrowOrShrink)
{
    const std::vector<MachineVerdicts> before{
        {"m1", {}, {Make(L"MemoryTest", Fail, {L"2048", L"2047"})}},
        {"m2", {}, {Make(L"MemoryTest", Pass)}},
        {"m3", {}, {Make(L"MemoryTest", Fail, {L"2048", L"1024"})}},
    };
    const std::vector<MachineVerdicts> after{
        {"m1", {}, {Make(L"MemoryTest", Pass)}},
        {"m2", {}, {Make(L"MemoryTest", Pass)}},
        {"m3", {}, {Make(L"MemoryTest", Fail, {L"4096", L"1024"})}},
    };
    fleet::FleetReadiness readiness;
    for (std::size_t index = 0; index < after.size(); ++index) {
        readiness.Add(after[index], &before[index], 1000 + static_cast<fleet::ScanTime>(index));
    }
    EXPECT_TRUE(readiness.Compares());
    EXPECT_EQ(readiness.StatusChanges(), 1u);
    EXPECT_EQ(readiness.CountsBefore(), (fleet::StatusCounts{1, 2, 0, 0}));
    EXPECT_EQ(readiness.Counts(), (fleet::StatusCounts{2, 1, 0, 0}));
    EXPECT_EQ(readiness.Machines()[0].before, MachineStatus::Blocked);
    EXPECT_EQ(readiness.OldestScan(), 1000);
    EXPECT_EQ(readiness.NewestScan(), 1002);
    std::vector<std::string> listed;
    for (const std::size_t index : readiness.GroupsInOrder()) {
        const fleet::ReasonGroup& group = readiness.Groups()[index];
        listed.push_back(group.reason + ": " + std::to_string(group.before) + " -> " +
                         std::to_string(group.machines.size()));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"needed 4096 MB, installed 1024 MB: 0 -> 1",
                                                "needed 2048 MB, installed 1024 MB: 1 -> 0",
                                                "needed 2048 MB, installed 2047 MB: 1 -> 0"}));
}

TEST(FleetReadinessTest, TheMachineCsvGivesStatusBlockersUnverifiedChecksAndScanTime)
{
    const std::vector<MachineVerdicts> before{
        {"a", {}, {Make(L"OSTest", Pass)}},
        {"b", {}, {Make(L"OSTest", Pass)}},
    };
    const std::vector<MachineVerdicts> after{
        {"a",
         {},
         {Make(L"MemoryTest", Fail, {L"4096", L"4094"}), Make(L"BlacklistBiosTest", Unverified),
          Make(L"MemoryTest", Fail), Make(L"OSTest", Fail)}},
        {"=b", "profile refused: field \"wmi\": repeated key", {}},
    };
    fleet::FleetReadiness readiness;
    std::string csv = fleet::MachineCsvHeading(true);
    csv += fleet::FormatMachineCsvRow(readiness, readiness.Add(after[0], &before[0], 1796635586));
    csv += fleet::FormatMachineCsvRow(readiness, readiness.Add(after[1], &before[1], fleet::NoScanTime));
    EXPECT_EQ(
        csv,
        "\"machine\",\"status\",\"blocking\",\"unverified\",\"scan_time\",\"reason\",\"status_before\"\r\n"
        "\"a\",\"blocked\",\"MemoryTest;MemoryTest #2;OSTest\",\"BlacklistBiosTest\",\"2026-12-07T09:26:26Z\",\"\","
        "\"ready\"\r\n"
        "\"'=b\",\"no verdicts\",\"\",\"\",\"\",\"profile refused: field \"\"wmi\"\": repeated key\",\"ready\"\r\n");
    EXPECT_EQ(fleet::FormatScanTime(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(fleet::MachineCsvHeading(false),
              "\"machine\",\"status\",\"blocking\",\"unverified\",\"scan_time\",\"reason\"\r\n");
}

TEST(FleetReadinessTest, ProgressGivesMachinesDoneAndTheTimeLeftAtThePaceSoFar)
{
    using std::chrono::milliseconds;
    struct Row {
        std::size_t done;
        std::size_t total;
        milliseconds elapsed;
        const char* text;
    };
    const std::vector<Row> rows{
        {0, 100000, milliseconds(0), "0 of 100000 machines"},
        {1, 3, milliseconds(1500), "1 of 3 machines, 3 s left"},
        {1000, 100000, milliseconds(4000), "1000 of 100000 machines, 6 min 36 s left"},
        {1, 100000, milliseconds(3000), "1 of 100000 machines, 83 h 19 min left"},
        {7, 7, milliseconds(900), "7 of 7 machines"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(fleet::FormatProgress(row.done, row.total, row.elapsed), row.text);
    }
}

}  // namespace
