// The hostile-machine fuzz target runs input after input in one process. Each input must meet the
// process a separate run would start with, or a finding depends on the inputs before it and the
// WMI journal grows by every input until the target runs out of memory.

#include "support/MachineInput.h"
#include "winapi/Utf8.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string ExampleMachine(const char* name)
{
    return ReadText(std::filesystem::path(TARNWICK_EXAMPLES) / "machines" / name);
}

// The console and results document of one input's run.
struct InputRun {
    std::string console;
    std::string results;
};

InputRun RunInput(const std::string& profile)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool ran = RunChecksOnMachine(profile);
    InputRun run{testing::internal::GetCapturedStdout(), ReadText(winapi::ToUtf8(MachineInputResults()))};
    (void)testing::internal::GetCapturedStderr();
    EXPECT_TRUE(ran);
    return run;
}

TEST(MachineInputResetTest, EachInputStartsTheJournalAfresh)
{
    const std::string laptop = ExampleMachine("laptop-ssd.json");
    (void)RunInput(laptop);
    (void)RunInput(laptop);
    const std::size_t afterTwo = winapi::sim::TakeWmiJournal().size();
    (void)RunInput(laptop);
    const std::size_t afterOne = winapi::sim::TakeWmiJournal().size();
    EXPECT_GT(afterOne, 0u);
    EXPECT_EQ(afterTwo, afterOne);
}

TEST(MachineInputResetTest, AnInputGivesWhatItGivesAlone)
{
    const std::string server = ExampleMachine("two-disk-server.json");
    const InputRun alone = RunInput(server);
    // Other machines first, one of them refused half-way through its profile.
    (void)RunInput(ExampleMachine("xp-desktop.json"));
    (void)RunChecksOnMachine(R"({"volumes": [)");
    (void)RunInput(ExampleMachine("vista-laptop.json"));
    const InputRun after = RunInput(server);
    EXPECT_EQ(after.console, alone.console);
    EXPECT_EQ(after.results, alone.results);
}

}  // namespace
