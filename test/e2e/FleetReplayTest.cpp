// The fleet replay against the example and fixture machines: its table and its changes are
// written out here, and each row is what a separate run of tarnwick on that machine gives.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* RefusedProfile = "{ \"version\": { \"major\": \"six\" } }";

// The example document against the example and fixture machines, written out by hand: a verdict
// the replay turned round, or a machine it lost, shows here.
const std::string ExpectedTable = R"(Checks
   1  SystemDriveAccessibleByLetterDriveTest
   2  MSXML3Test
   3  MSSecurityEssentialsTest
   4  ReadyBoostTest
   5  ReadyDriveTest
   6  FreeHardDiskSpaceTest
   7  ContiguousFreeHardDiskSpaceTest
   8  DynamicVolumeTest
   9  RecoveryTest
  10  DualBootTest
  11  DiskLimitTest
  12  DiskSizeLimitTest
  13  RaidTest
  14  CompressedRootTest
  15  HiddenVolumeTest
  16  VolumeLimitTest
  17  VolumeMountPointTest
  18  UnformattedPartitionTest
  19  BlacklistBiosTest
  20  WhitelistBiosTest
  21  BlacklistMotherboardTest
  22  WhitelistMotherboardTest
  23  BlacklistProcessorTest
  24  WhitelistProcessorTest
  25  OSTest
  26  MemoryTest
  27  AdministratorTest
  28  BitLockerTest
  29  BitsAdminTest
  30  NETFrameworkTest
  31  QuillonInstallationTest
  32  BlacklistServiceTest
  33  FetchMakeModelTest
  34  LegacyUSBTest
  35  BlacklistUSBDeviceTest
  36  WhitelistUSBDeviceTest
  37  DesktopAndPS2MouseTest
  38  LaptopTest

Machine                      1    2    3    4    5    6    7    8    9   10   11   12   13   14   15   16   17   18   19   20   21   22   23   24   25   26   27   28   29   30   31   32   33   34   35   36   37   38
awkward-devices.json      pass pass pass pass pass pass pass FAIL FAIL FAIL pass pass pass FAIL FAIL pass FAIL pass  unv FAIL  unv  unv  unv  unv pass pass pass pass pass pass pass pass FAIL pass  unv  unv FAIL FAIL
broken-platform.json      FAIL pass pass  unv  unv FAIL  unv pass pass pass  unv pass  unv  unv  unv  unv  unv pass  unv FAIL  unv  unv  unv  unv FAIL FAIL FAIL  unv pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
default.json              pass pass pass pass pass pass pass pass pass FAIL pass pass pass pass FAIL pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass FAIL
desktop-usb-stick.json    pass pass pass pass pass pass  unv pass pass pass pass pass  unv pass FAIL pass pass pass pass FAIL pass FAIL pass FAIL pass pass FAIL pass pass pass pass pass pass pass FAIL FAIL FAIL FAIL
disk-space-desktop.json   pass FAIL pass  unv  unv FAIL pass pass pass pass  unv pass pass pass pass pass pass pass  unv FAIL  unv  unv  unv  unv FAIL FAIL pass  unv pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
laptop-ssd.json           pass pass pass pass pass pass pass pass FAIL pass pass pass pass pass FAIL pass pass pass pass FAIL pass FAIL pass FAIL pass pass pass pass pass pass FAIL FAIL pass pass pass FAIL pass pass
partition-layouts.json    FAIL FAIL pass  unv  unv FAIL  unv FAIL FAIL FAIL pass FAIL FAIL pass pass pass pass pass  unv FAIL  unv  unv  unv  unv FAIL FAIL pass  unv pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
pentium4-asus.json        FAIL FAIL pass  unv  unv FAIL  unv pass pass pass  unv pass  unv  unv  unv  unv  unv pass pass FAIL pass FAIL pass FAIL FAIL FAIL FAIL  unv pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
server-2008.json          pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass FAIL pass FAIL pass FAIL FAIL pass pass FAIL pass FAIL pass pass pass FAIL  unv  unv FAIL FAIL
software-desktop.json     FAIL FAIL pass  unv  unv FAIL  unv pass pass pass  unv pass  unv  unv  unv  unv  unv pass  unv FAIL  unv  unv  unv  unv FAIL FAIL FAIL  unv pass FAIL pass pass pass pass  unv  unv FAIL FAIL
storage-helpers.json      FAIL FAIL pass  unv  unv FAIL  unv FAIL pass pass  unv pass pass pass FAIL pass pass pass  unv FAIL  unv  unv  unv  unv FAIL FAIL pass  unv pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
system-checks.json        FAIL FAIL pass pass pass FAIL  unv pass pass pass  unv pass  unv  unv  unv  unv  unv pass  unv FAIL  unv  unv  unv  unv pass pass pass pass pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
two-disk-server.json      pass pass pass pass pass pass pass pass pass pass pass FAIL FAIL pass FAIL pass FAIL pass pass FAIL pass FAIL pass FAIL pass pass pass pass pass pass pass pass pass FAIL  unv  unv FAIL FAIL
unc-system-directory.json FAIL pass pass pass pass FAIL  unv pass pass pass  unv pass  unv  unv  unv  unv  unv pass  unv FAIL  unv  unv  unv  unv pass FAIL FAIL pass pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
usb-mouse-desktop.json    FAIL FAIL pass  unv  unv FAIL  unv pass pass pass  unv pass  unv  unv  unv  unv  unv pass  unv FAIL  unv  unv  unv  unv FAIL FAIL FAIL  unv pass FAIL pass pass FAIL FAIL FAIL pass pass FAIL
vista-laptop.json         pass pass pass FAIL FAIL pass  unv pass pass pass pass pass  unv pass pass pass pass pass pass FAIL pass FAIL pass FAIL pass pass FAIL FAIL pass FAIL pass pass pass FAIL  unv  unv FAIL FAIL
vista-workstation.json    pass FAIL FAIL FAIL FAIL FAIL  unv pass pass pass  unv pass  unv  unv  unv  unv  unv pass pass FAIL pass FAIL pass FAIL pass FAIL FAIL pass pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
volume-layouts.json       pass FAIL pass  unv  unv FAIL  unv pass pass pass  unv pass pass pass FAIL pass FAIL FAIL  unv FAIL  unv  unv  unv  unv FAIL FAIL pass  unv pass FAIL pass pass FAIL FAIL  unv  unv FAIL FAIL
wine-prefix.json          pass pass pass pass pass pass  unv  unv  unv pass pass pass pass pass pass  unv pass pass  unv FAIL pass FAIL pass FAIL pass pass pass pass pass FAIL pass pass pass FAIL  unv FAIL FAIL FAIL
xp-desktop.json           pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass pass FAIL pass FAIL pass FAIL pass pass pass pass pass FAIL pass pass pass FAIL  unv  unv FAIL FAIL
zz-refused.json           profile refused: field "version.major": expected a whole number of 0 or more

21 machines: 0 pass every check, 0 pass with checks that did not look (unv), 20 fail at least one, 1 without verdicts
)";

const std::string ExpectedChanges =
    "laptop-ssd.json\n"
    "  FreeHardDiskSpaceTest: pass -> FAIL\n"
    "server-2008.json\n"
    "  FreeHardDiskSpaceTest: pass -> FAIL\n"
    "vista-laptop.json\n"
    "  FreeHardDiskSpaceTest: pass -> FAIL\n"
    "wine-prefix.json\n"
    "  FreeHardDiskSpaceTest: pass -> FAIL\n"
    "xp-desktop.json\n"
    "  FreeHardDiskSpaceTest: pass -> FAIL\n"
    "5 of 21 machines change, 5 verdicts in all\n";

// The cells of a machine's row in the expected table, "pass" or "FAIL" one per check; a pass that
// did not look ("unv") is a pass in the results document.
std::vector<std::string> ExpectedCells(const std::string& machine)
{
    const std::size_t row = ExpectedTable.find("\n" + machine + " ");
    if (row == std::string::npos) {
        return {};
    }
    std::istringstream cells(
        ExpectedTable.substr(row + machine.size() + 1, ExpectedTable.find('\n', row + 1) - row - machine.size() - 1));
    std::vector<std::string> expected{std::istream_iterator<std::string>(cells), std::istream_iterator<std::string>()};
    std::ranges::replace(expected, std::string("unv"), std::string("pass"));
    return expected;
}

// The verdicts of a results document in document order, read here rather than by the replay's
// own reader so that the two cannot share a fault.
std::vector<std::string> PassedCells(const std::string& results)
{
    std::vector<std::string> cells;
    const std::string open = "<passed>";
    for (std::size_t at = results.find(open); at != std::string::npos; at = results.find(open, at + 1)) {
        cells.push_back(results.compare(at + open.size(), 4, "true") == 0 ? "pass" : "FAIL");
    }
    return cells;
}

class FleetReplayTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(fleetFolder_);
        for (const std::filesystem::path& folder : {ExamplePath("machines"), FixturePath("machines")}) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                std::filesystem::copy_file(entry.path(), fleetFolder_ / entry.path().filename());
            }
        }
        scratch_.Write("fleet/zz-refused.json", RefusedProfile);
        scratch_.Write("fleet/notes.txt", "not a profile");
    }

    ScratchFolder scratch_;
    std::filesystem::path fleetFolder_ = scratch_.Path() / "fleet";
};

TEST_F(FleetReplayTest, TableHoldsEveryMachinesVerdicts)
{
    const std::filesystem::path input = ExamplePath("input.xml");
    const ProgramResult fleetRun =
        RunProgram(TARNWICK_FLEET, {"-i", input.string(), "-j", "2", "fleet"}, scratch_.Path());
    // The refused profile gave no verdicts.
    ASSERT_EQ(fleetRun.exitCode, 2) << fleetRun.trace;
    EXPECT_EQ(fleetRun.trace, "");
    EXPECT_EQ(fleetRun.console, ExpectedTable);
}

TEST_F(FleetReplayTest, EachRowIsWhatASeparateRunGivesThatMachine)
{
    const std::filesystem::path input = ExamplePath("input.xml");
    std::size_t profiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fleetFolder_)) {
        const std::string machine = entry.path().filename().string();
        if (entry.path().extension() != ".json" || machine == "zz-refused.json") {
            continue;
        }
        SCOPED_TRACE(machine);
        ++profiles;
        const ProgramResult run =
            RunTarnwick({"-i", input.string(), "-o", "single.xml", "-f"}, scratch_.Path(), entry.path());
        ASSERT_EQ(run.exitCode, 0) << run.trace;
        const std::vector<std::string> cells = PassedCells(scratch_.Read("single.xml"));
        EXPECT_EQ(cells.size(), 38U);
        EXPECT_EQ(cells, ExpectedCells(machine));
    }
    EXPECT_EQ(profiles, 20U);
}

TEST_F(FleetReplayTest, ChangesBetweenTwoDocumentsAreWrittenOutMachineByMachine)
{
    const std::filesystem::path input = ExamplePath("input.xml");
    std::string changedText = ReadFileText(input);
    const std::string freeSpace = "<parameter>500</parameter>";
    ASSERT_NE(changedText.find(freeSpace), std::string::npos);
    changedText.replace(changedText.find(freeSpace), freeSpace.size(), "<parameter>100000</parameter>");
    const std::filesystem::path changed = scratch_.Write("changed.xml", changedText);

    const ProgramResult fleetRun =
        RunProgram(TARNWICK_FLEET, {"-i", input.string(), "-c", changed.string(), "fleet"}, scratch_.Path());
    ASSERT_EQ(fleetRun.exitCode, 2) << fleetRun.trace;
    EXPECT_EQ(fleetRun.console, ExpectedChanges);
}

TEST_F(FleetReplayTest, RefusesACommandLineWithoutDocumentOrFolder)
{
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"fleet"},
                                                      {"-i", ExamplePath("input.xml").string()},
                                                      {"-i", ExamplePath("input.xml").string(), "missing-folder"},
                                                      {"-i", "missing.xml", "fleet"},
                                                      {"-i", ExamplePath("input.xml").string(), "-j", "0", "fleet"}}) {
        SCOPED_TRACE(arguments.back());
        const ProgramResult run = RunProgram(TARNWICK_FLEET, arguments, scratch_.Path());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.console, "");
        EXPECT_NE(run.trace, "");
    }
}

}  // namespace
