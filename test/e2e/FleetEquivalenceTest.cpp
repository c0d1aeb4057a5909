// The fleet's workers run machine after machine in one process. Whatever a run leaves behind in
// the process must not reach the next machine: every machine's verdicts, more-info lines,
// solutions and exit code must be byte for byte those of a separate run of tarnwick, whatever
// machine ran before it in the same worker.

#include "fleet/FleetReplay.h"
#include "fleet/ResultsVerdicts.h"
#include "fleet/RunConsole.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

// Each machine runs the example document, which ends here with requirements no machine meets for
// the checks whose requirement holds for the whole process, and then, in the same worker, a
// document that leaves those requirements to their defaults: a worker that kept the first
// document's requirements would fail them.
constexpr const char* DemandingEnd =
    "  <test><name>FreeHardDiskSpaceTest</name><parameter>100000000</parameter></test>\n"
    "  <test><name>ContiguousFreeHardDiskSpaceTest</name><parameter>100000000</parameter></test>\n"
    "  <test><name>MemoryTest</name><parameter>100000000</parameter></test>\n"
    "</input_tests>";
constexpr const char* DefaultsDocument =
    "<input_tests>\n"
    "  <test><name>FreeHardDiskSpaceTest</name></test>\n"
    "  <test><name>ContiguousFreeHardDiskSpaceTest</name></test>\n"
    "  <test><name>MemoryTest</name></test>\n"
    "  <test><name>OSTest</name></test>\n"
    "</input_tests>";
constexpr int GeneratedMachines = 7;

// Everything the fleet keeps of a machine, one line per item, so that a difference shows where.
std::string Describe(const fleet::MachineVerdicts& machine)
{
    std::string text = machine.machine + ": exit " + std::to_string(machine.exitCode) + "\n";
    if (!machine.problem.empty()) {
        text += "problem " + machine.problem + "\n";
    }
    const auto narrow = [](const std::wstring& wide) { return std::string(wide.begin(), wide.end()); };
    for (const fleet::Verdict& verdict : machine.verdicts) {
        text += narrow(verdict.check) + (verdict.passed ? " pass" : " FAIL") + " (" + narrow(verdict.descriptiveName) +
                ")\n";
        // The fleet keeps each run's console, so a pass that did not look is told as a separate run's
        // console tells it.
        if (verdict.state == fleet::VerdictState::Unverified || !verdict.reason.empty()) {
            text += "  unread " + verdict.reason + "\n";
        }
        for (const std::wstring& line : verdict.moreInfo) {
            text += "  info " + narrow(line) + "\n";
        }
        for (const std::wstring& line : verdict.solutions) {
            text += "  solution " + narrow(line) + "\n";
        }
    }
    return text;
}

class FleetEquivalenceTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string demanding = ReadFileText(ExamplePath("input.xml"));
        const std::string close = "</input_tests>";
        ASSERT_NE(demanding.rfind(close), std::string::npos);
        demanding.replace(demanding.rfind(close), close.size(), DemandingEnd);
        inputs_ = {scratch_.Write("demanding.xml", demanding), scratch_.Write("defaults.xml", DefaultsDocument)};

        const std::filesystem::path generated = scratch_.Path() / "generated";
        const std::string command = "python3 \"" + (ExamplePath("..") / "tools" / "generate-fleet.py").string() +
                                    "\" " + std::to_string(GeneratedMachines) + " \"" + generated.string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        for (const std::filesystem::path& folder : {ExamplePath("machines"), FixturePath("machines"), generated}) {
            const std::vector<std::filesystem::path> profiles = fleet::ProfilesInFolder(folder);
            profiles_.insert(profiles_.end(), profiles.begin(), profiles.end());
        }
        for (std::size_t document = 0; document < inputs_.size(); ++document) {
            for (const std::filesystem::path& profile : profiles_) {
                separate_[document][profile.filename().string()] = Describe(SeparateRun(inputs_[document], profile));
            }
        }
    }

    // One tarnwick run on the machine, read as the fleet reads its own runs.
    fleet::MachineVerdicts SeparateRun(const std::filesystem::path& input, const std::filesystem::path& profile)
    {
        fleet::MachineVerdicts machine{profile.filename().string(), {}, {}, -1};
        std::filesystem::remove(scratch_.Path() / "single.xml");
        const ProgramResult run =
            RunTarnwick({"-i", input.string(), "-o", "single.xml", "-f"}, scratch_.Path(), profile);
        machine.exitCode = run.exitCode;
        if (const std::string refused = "tarnwick: machine profile \""; run.trace.starts_with(refused)) {
            // tarnwick: machine profile "path": problem
            const std::size_t start = run.trace.find("\": ") + 3;
            machine.problem = "profile refused: " + run.trace.substr(start, run.trace.size() - start - 1);
        } else if (std::filesystem::exists(scratch_.Path() / "single.xml")) {
            machine.problem = fleet::ReadResultsVerdicts(scratch_.Path() / "single.xml", machine.verdicts,
                                                         fleet::SplitConsoleLines(run.console));
        }
        return machine;
    }

    // Replays the profiles in the order given and holds every machine to its separate run.
    void ExpectSeparateRuns(const std::vector<std::filesystem::path>& profiles, unsigned jobs)
    {
        const std::filesystem::path replayScratch = scratch_.Path() / ("replay-" + std::to_string(replays_++));
        std::filesystem::create_directory(replayScratch);
        std::vector<std::vector<fleet::MachineVerdicts>> documents(
            inputs_.size(), std::vector<fleet::MachineVerdicts>(profiles.size()));
        std::size_t finished = 0;
        fleet::ReplayFleet(inputs_, profiles, replayScratch, jobs, {},
                           [&](std::size_t machine, std::vector<fleet::MachineVerdicts>& runs) {
                               ASSERT_EQ(runs.size(), inputs_.size());
                               ++finished;
                               for (std::size_t document = 0; document < runs.size(); ++document) {
                                   documents[document][machine] = std::move(runs[document]);
                               }
                           });
        EXPECT_EQ(finished, profiles.size());
        // Each machine's results document, trace and problem go once they are read: every run
        // lists the scratch folder, so a folder that kept them would slow down each next machine.
        EXPECT_TRUE(std::filesystem::is_empty(replayScratch));
        ASSERT_EQ(documents.size(), inputs_.size());
        for (std::size_t document = 0; document < documents.size(); ++document) {
            const std::vector<fleet::MachineVerdicts>& machines = documents[document];
            ASSERT_EQ(machines.size(), profiles.size());
            for (std::size_t i = 0; i < machines.size(); ++i) {
                std::string expected = separate_[document][profiles[i].filename().string()];
                // A run that writes no results document is told by the fleet with its last trace lines.
                if (machines[i].problem.starts_with("no results document")) {
                    expected += "problem " + machines[i].problem + "\n";
                }
                EXPECT_EQ(Describe(machines[i]), expected) << inputs_[document].filename().string() << ", run after "
                                                           << (i > 0 ? machines[i - 1].machine : "none");
            }
        }
    }

    ScratchFolder scratch_;
    std::vector<std::filesystem::path> inputs_;
    std::vector<std::filesystem::path> profiles_;
    // What a separate run gives, by document and profile name.
    std::map<std::string, std::string> separate_[2];
    int replays_ = 0;
};

TEST_F(FleetEquivalenceTest, EveryMachineInOneWorkerGivesWhatASeparateRunGives)
{
    // The defaults pass where the demanding requirements fail, so a kept requirement shows.
    EXPECT_NE(separate_[0]["server-2008.json"].find("FreeHardDiskSpaceTest FAIL"), std::string::npos);
    EXPECT_NE(separate_[1]["server-2008.json"].find("FreeHardDiskSpaceTest pass"), std::string::npos);
    ExpectSeparateRuns(profiles_, 1);
    std::vector<std::filesystem::path> reversed(profiles_.rbegin(), profiles_.rend());
    ExpectSeparateRuns(reversed, 1);
}

TEST_F(FleetEquivalenceTest, EveryMachineAcrossTwoWorkersGivesWhatASeparateRunGives)
{
    ExpectSeparateRuns(profiles_, 2);
    // Each machine once after each other: whatever one leaves, every other one meets.
    std::vector<std::filesystem::path> pairs;
    for (const std::filesystem::path& first : profiles_) {
        if (first.parent_path() == ExamplePath("machines")) {
            for (const std::filesystem::path& second : profiles_) {
                if (second.parent_path() == ExamplePath("machines")) {
                    pairs.push_back(first);
                    pairs.push_back(second);
                }
            }
        }
    }
    ExpectSeparateRuns(pairs, 1);
}

}  // namespace
