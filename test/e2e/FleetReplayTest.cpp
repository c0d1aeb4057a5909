// The fleet replay against the example and fixture machines: its table and its changes must be
// exactly what separate runs of tarnwick on each machine give.

#include "fleet/ResultsVerdicts.h"
#include "fleet/VerdictTable.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr const char* RefusedProfile = "{ \"version\": { \"major\": \"six\" } }";

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

    // What one tarnwick run per machine gives, in the fleet's order.
    std::vector<fleet::MachineVerdicts> SeparateRuns(const std::filesystem::path& input)
    {
        std::vector<fleet::MachineVerdicts> machines;
        std::vector<std::filesystem::path> profiles;
        for (const auto& entry : std::filesystem::directory_iterator(fleetFolder_)) {
            if (entry.path().extension() == ".json") {
                profiles.push_back(entry.path());
            }
        }
        std::sort(profiles.begin(), profiles.end());
        for (const std::filesystem::path& profile : profiles) {
            SCOPED_TRACE(profile.filename().string());
            fleet::MachineVerdicts machine{profile.filename().string(), {}, {}};
            const ProgramResult run =
                RunTarnwick({"-i", input.string(), "-o", "single.xml", "-f"}, scratch_.Path(), profile);
            if (run.exitCode == 2) {
                // tarnwick: machine profile "path": problem
                const std::size_t start = run.trace.find("\": ") + 3;
                machine.problem = "profile refused: " + run.trace.substr(start, run.trace.size() - start - 1);
            } else {
                EXPECT_EQ(fleet::ReadResultsVerdicts(scratch_.Path() / "single.xml", machine.verdicts), "");
            }
            machines.push_back(machine);
        }
        return machines;
    }

    ScratchFolder scratch_;
    std::filesystem::path fleetFolder_ = scratch_.Path() / "fleet";
};

TEST_F(FleetReplayTest, TableHoldsEveryMachinesVerdictsAsASeparateRunGivesThem)
{
    const std::filesystem::path input = ExamplePath("input.xml");
    const ProgramResult fleetRun = RunProgram(TARNWICK_FLEET, {"-i", input.string(), "-j", "2", "fleet"}, scratch_.Path());
    // The refused profile gave no verdicts.
    ASSERT_EQ(fleetRun.exitCode, 2) << fleetRun.trace;
    EXPECT_EQ(fleetRun.trace, "");
    EXPECT_EQ(fleetRun.console, fleet::FormatVerdictTable(SeparateRuns(input)));
    const std::size_t refused = fleetRun.console.find("\nzz-refused.json ");
    ASSERT_NE(refused, std::string::npos);
    const std::string row = fleetRun.console.substr(refused + 1, fleetRun.console.find('\n', refused + 1) - refused - 1);
    EXPECT_NE(row.find(" profile refused: field \"version.major\": "), std::string::npos) << row;
}

TEST_F(FleetReplayTest, ChangesBetweenTwoDocumentsAreThoseOfSeparateRuns)
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
    EXPECT_EQ(fleetRun.console, fleet::FormatVerdictChanges(SeparateRuns(input), SeparateRuns(changed)));
    EXPECT_NE(fleetRun.console.find("FreeHardDiskSpaceTest: pass -> FAIL"), std::string::npos);
}

TEST_F(FleetReplayTest, RefusesACommandLineWithoutDocumentOrFolder)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"fleet"}, {"-i", ExamplePath("input.xml").string()},
          {"-i", ExamplePath("input.xml").string(), "missing-folder"}, {"-i", "missing.xml", "fleet"},
          {"-i", ExamplePath("input.xml").string(), "-j", "0", "fleet"}}) {
        SCOPED_TRACE(arguments.back());
        const ProgramResult run = RunProgram(TARNWICK_FLEET, arguments, scratch_.Path());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.console, "");
        EXPECT_NE(run.trace, "");
    }
}

}  // namespace
