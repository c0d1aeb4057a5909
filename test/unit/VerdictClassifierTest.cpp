// The verdict classifier from a table: what a run leaves of one check (its verdict, more-info
// lines and, where kept, console lines) and the state and reason the classifier gives it.

#include "framework/CheckCatalogue.h"
#include "framework/VerdictClassifier.h"
#include "winapi/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ClassifierRow {
    std::wstring check;
    bool passed;
    std::vector<std::wstring> moreInfo;
    ConsoleScope scope;
    std::vector<std::wstring> console;
    VerdictState state;
    std::wstring reason;
};

using enum VerdictState;
using enum ConsoleScope;

const std::wstring NoBios = L"the BIOS version could not be read";
const std::wstring NoMemory = L"the installed memory could not be read";
const std::wstring NoVersionForMemory = L"the Windows version could not be read, so the memory it needs is unknown";
const std::wstring NoDrive = L"no physical drive could be opened (that needs administrator rights)";

const std::vector<ClassifierRow> Rows{
    // The identity lists: an empty first line is a BIOS that could not be read, whichever way it went.
    {L"BlacklistBiosTest", true, {L"", L""}, None, {}, Unverified, NoBios},
    {L"BlacklistBiosTest", true, {L"DELL   - 1072009", L"11/14/08"}, None, {}, Pass, L""},
    {L"BlacklistBiosTest", false, {L"", L""}, None, {}, Fail, NoBios + L" and the list holds an empty entry"},
    {L"WhitelistBiosTest", false, {L"", L"11/14/08"}, None, {}, Fail, NoBios},
    {L"WhitelistBiosTest", false, {L"DELL   - 1072009", L""}, None, {}, Fail, L""},
    {L"WhitelistBiosTest", true, {L"", L""}, None, {}, Unverified, NoBios + L" and the list holds an empty entry"},
    {L"WhitelistProcessorTest", true, {}, None, {}, Unverified, L"the processor could not be read from WMI"},
    {L"WhitelistProcessorTest", true, {L"Intel(R) Core(TM)2 Duo CPU"}, None, {}, Pass, L""},
    {L"WhitelistProcessorTest", false, {L""}, None, {}, Fail, L"WMI reports no processor name"},
    {L"WhitelistMotherboardTest",
     true,
     {L" "},
     None,
     {},
     Unverified,
     L"WMI reports no motherboard and the list holds an entry of one blank"},
    {L"FetchMakeModelTest", false, {}, None, {}, Fail, L"the make and model could not be read from WMI"},
    // A count of 0 is a list that could not be read; 1 is a count.
    {L"DiskLimitTest", true, {L"0"}, None, {}, Unverified, L"the disk drives could not be listed through WMI"},
    {L"DiskLimitTest", true, {L"1"}, None, {}, Pass, L""},
    {L"VolumeLimitTest", true, {L"0", L"0"}, None, {}, Pass, L""},
    // Without the console, the memory check's three failed reads look alike; a line of the whole
    // run's console picks one.
    {L"MemoryTest",
     false,
     {},
     None,
     {},
     Fail,
     NoVersionForMemory +
         L"; or the memory this Windows release needs is unknown (no row for its version, such as 10.0); the "
         L"installed memory was not looked at; or " +
         NoMemory},
    {L"MemoryTest",
     false,
     {},
     WholeRun,
     {L"DiskLimitTest", L"[MTEST] ERROR: Could not determine amount of installed memory", L""},
     Fail,
     NoMemory},
    {L"MemoryTest", false, {L"4096", L"2047"}, WholeRun, {}, Fail, L""},
    // Only the console tells these; without it they stay plain passes.
    {L"ReadyBoostTest", true, {L"Checks only if the feature is present, not if it is running"}, None, {}, Pass, L""},
    {L"ReadyBoostTest",
     true,
     {L"Checks only if the feature is present, not if it is running"},
     WholeRun,
     {L"Couldn't get the os information"},
     Unverified,
     L"the Windows version could not be read"},
    {L"HiddenVolumeTest",
     true,
     {},
     WholeRun,
     {L"[HVTEST] ERROR: Cannot find any volumes"},
     Unverified,
     L"the volumes could not be listed"},
    // A check that wrote nothing, or only its closing line, tells only when it ran alone.
    {L"DualBootTest", true, {}, WholeRun, {}, Pass, L""},
    {L"DualBootTest", true, {}, CheckAlone, {L""}, Unverified, NoDrive},
    {L"DualBootTest", true, {}, CheckAlone, {L"IsPhysicalDriveLocalHardDisk(0)"}, Pass, L""},
    {L"DynamicVolumeTest",
     true,
     {},
     CheckAlone,
     {L"[DVTEST] No dynamic disks detected...SUCCESS", L""},
     Unverified,
     NoDrive},
    {L"DynamicVolumeTest",
     true,
     {},
     CheckAlone,
     {L"[DVTEST] \\\\.\\PhysicalDrive0 is not a dynamic drive", L"", L"[DVTEST] No dynamic disks detected...SUCCESS"},
     Pass,
     L""},
    {L"DynamicVolumeTest", true, {}, WholeRun, {L"[DVTEST] No dynamic disks detected...SUCCESS"}, Pass, L""},
    // Nothing tells a pass of a check that could not open the product's key from a genuine one.
    {L"MSSecurityEssentialsTest", true, {}, CheckAlone, {}, Pass, L""},
    // A name no row carries (an input name, not a result name) is taken as it stands.
    {L"MSSecurityEssentialsInstalledTest", true, {}, None, {}, Pass, L""},
    {L"NoSuchTest", false, {}, None, {}, Fail, L""},
};

TEST(VerdictClassifierTest, ClassifiesEveryRowOfTheTable)
{
    for (const ClassifierRow& row : Rows) {
        SCOPED_TRACE(winapi::ToUtf8(row.check) + (row.passed ? " passed" : " failed") +
                     (row.moreInfo.empty() ? "" : ", first line \"" + winapi::ToUtf8(row.moreInfo[0]) + "\""));
        const ClassifiedVerdict classified =
            ClassifyVerdict({.check = row.check, .passed = row.passed, .moreInfo = row.moreInfo},
                            {.scope = row.scope, .lines = row.console});
        EXPECT_EQ(classified, (ClassifiedVerdict{row.state, row.reason})) << winapi::ToUtf8(classified.reason);
    }
}

// The reference writes each path as "Passes when <reason>. Shown by <evidence>.": a path that
// names a more-info or console text carries one, and a reason is no sentence of its own.
TEST(VerdictClassifierTest, EveryUnreadPathOfTheCatalogueIsWellFormed)
{
    for (const CheckEntry& entry : CheckCatalogue()) {
        SCOPED_TRACE(winapi::ToUtf8(entry.inputName));
        for (const UnreadPath& path : UnreadPaths(entry)) {
            SCOPED_TRACE(winapi::ToUtf8(path.reason));
            EXPECT_EQ(path.moreInfo == MoreInfoShape::OneLineEqual, !path.moreInfoText.empty());
            const bool namesLine = path.console == ConsoleShape::HasLine || path.console == ConsoleShape::OnlyLine;
            EXPECT_EQ(namesLine, !path.consoleText.empty());
            EXPECT_FALSE(path.reason.ends_with(L"."));
        }
    }
}

}  // namespace
