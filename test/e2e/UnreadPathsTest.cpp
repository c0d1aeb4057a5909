// The unread paths of the check catalogue against real runs: the bundled example on a machine
// whose every WMI connection, version query, registry key, system directory and memory figure
// fails, and on the same machine whole. What each check's row says a run shows must be what the
// run shows, and a machine that can be read must give no verdict a reason. (The example gives
// MemoryTest its megabytes, so its version path is held by the classifier's table alone.)

#include "fleet/ResultsVerdicts.h"
#include "fleet/RunConsole.h"
#include "framework/VerdictClassifier.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"
#include "winapi/Utf8.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <map>
#include <sstream>

namespace {

// Each check's verdict of the bundled example on the machine, classified with the whole run's
// console, by result name.
std::map<std::string, ClassifiedVerdict> ClassifiedRun(const ScratchFolder& folder,
                                                       const std::filesystem::path& machine)
{
    const ProgramResult result =
        RunTarnwick({"-i", ExamplePath("input.xml").string(), "-o", "results.xml"}, folder.Path(), machine);
    EXPECT_EQ(result.exitCode, 0);
    std::vector<fleet::Verdict> verdicts;
    EXPECT_EQ(fleet::ReadResultsVerdicts(folder.Path() / "results.xml", verdicts, std::nullopt), "");
    const std::vector<std::wstring> console = fleet::SplitConsoleLines(result.console);
    std::map<std::string, ClassifiedVerdict> classified;
    for (const fleet::Verdict& verdict : verdicts) {
        classified[winapi::ToUtf8(verdict.check)] =
            ClassifyVerdict({.check = verdict.check, .passed = verdict.passed, .moreInfo = verdict.moreInfo},
                            {.scope = ConsoleScope::WholeRun, .lines = console});
    }
    return classified;
}

TEST(UnreadPathsTest, AMachineThatCanBeReadGivesNoVerdictAReason)
{
    ScratchFolder folder;
    const std::map<std::string, ClassifiedVerdict> classified = ClassifiedRun(folder, {});
    EXPECT_EQ(classified.size(), 38U);
    for (const auto& [check, verdict] : classified) {
        EXPECT_NE(verdict.state, VerdictState::Unverified) << check;
        EXPECT_EQ(verdict.reason, L"") << check;
    }
}

TEST(UnreadPathsTest, AMachineThatCannotBeReadShowsEveryPathItsRowsPromise)
{
    ScratchFolder folder;
    nlohmann::json machine = nlohmann::json::parse(ReadFileText(ExamplePath("machines/default.json")));
    machine["faults"] = nlohmann::json::array({
        {{"call", "ConnectServer"}, {"error", "0x80041003"}},
        {{"call", "GetVersionExW"}, {"error", 5}},
        {{"call", "RegOpenKeyExW"}, {"error", 5}},
        {{"call", "GetSystemDirectoryW"}, {"error", 5}},
        {{"call", "GlobalMemoryStatusEx"}, {"error", 5}},
    });
    const std::filesystem::path profile = folder.Path() / "unreadable.json";
    std::ofstream(profile) << machine.dump(2);
    const std::map<std::string, ClassifiedVerdict> classified = ClassifiedRun(folder, profile);
    using enum VerdictState;
    const std::wstring noVersion = L"the Windows version could not be read";
    const std::wstring noSystemDirectory = L"the system directory could not be found";
    const std::map<std::string, ClassifiedVerdict> expected{
        {"BitLockerTest", {Unverified, noVersion}},
        {"BlacklistBiosTest", {Unverified, L"the BIOS version could not be read"}},
        {"BlacklistMotherboardTest", {Unverified, L"the motherboard could not be read from WMI"}},
        {"BlacklistProcessorTest", {Unverified, L"the processor could not be read from WMI"}},
        {"BlacklistUSBDeviceTest",
         {Unverified,
          L"the USB devices could not be listed through WMI (or Windows lists none, which a PC with USB ports does "
          L"not)"}},
        {"DesktopAndPS2MouseTest", {Fail, L"the pointing devices could not be listed through WMI"}},
        {"DiskLimitTest", {Unverified, L"the disk drives could not be listed through WMI"}},
        {"FetchMakeModelTest", {Fail, L"the make and model could not be read from WMI"}},
        {"FreeHardDiskSpaceTest", {Fail, noSystemDirectory}},
        {"LegacyUSBTest", {Fail, L"the BIOS characteristics could not be read from WMI (or the BIOS lists none)"}},
        {"MemoryTest", {Fail, L"the installed memory could not be read"}},
        {"OSTest", {Fail, noVersion}},
        {"ReadyBoostTest", {Unverified, noVersion}},
        {"ReadyDriveTest", {Unverified, noVersion}},
        {"SystemDriveAccessibleByLetterDriveTest", {Fail, noSystemDirectory}},
        {"WhitelistBiosTest", {Fail, L"the BIOS version could not be read"}},
        {"WhitelistMotherboardTest", {Unverified, L"the motherboard could not be read from WMI"}},
        {"WhitelistProcessorTest", {Unverified, L"the processor could not be read from WMI"}},
        {"WhitelistUSBDeviceTest",
         {Unverified,
          L"the USB devices could not be listed through WMI (or Windows lists none, which a PC with USB ports does "
          L"not)"}},
    };
    EXPECT_EQ(classified.size(), 38U);
    for (const auto& [check, verdict] : classified) {
        SCOPED_TRACE(check);
        if (const auto found = expected.find(check); found != expected.end()) {
            EXPECT_EQ(verdict, found->second) << winapi::ToUtf8(verdict.reason);
        } else {
            // Paths that only a check's own console, or nothing, tells (the service list, the
            // battery, the .NET root): the whole run's results and console leave them plain.
            EXPECT_NE(verdict.state, Unverified);
            EXPECT_EQ(verdict.reason, L"") << winapi::ToUtf8(verdict.reason);
        }
    }
}

}  // namespace
