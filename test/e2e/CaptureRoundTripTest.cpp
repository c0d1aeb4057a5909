// The capture run against simulated machines: what it records of a machine must make the checks
// answer as they answered on that machine, and capturing the captured machine again must give
// the same profile.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct ExampleRun {
    ProgramResult program;
    std::string results;
};

class CaptureRoundTripTest : public testing::Test {
protected:
    ExampleRun RunExample(const std::filesystem::path& profile)
    {
        ExampleRun run{RunTarnwick({"-i", ExamplePath("input.xml").string(), "-o", "results.xml", "-f"}, scratch_.Path(),
                            profile),
                {}};
        run.results = scratch_.Read("results.xml");
        return run;
    }

    ProgramResult Capture(const std::filesystem::path& profile, const std::string& output)
    {
        return RunProgram(TARNWICK_CAPTURE, {"-o", output}, scratch_.Path(), profile);
    }

    ScratchFolder scratch_;
};

TEST_F(CaptureRoundTripTest, ReplayOfACaptureGivesTheMachinesOwnRun)
{
    const std::vector<std::filesystem::path> machines{
        ExamplePath("machines/default.json"),         ExamplePath("machines/desktop-usb-stick.json"),
        ExamplePath("machines/laptop-ssd.json"),      ExamplePath("machines/two-disk-server.json"),
        FixturePath("machines/partition-layouts.json"), FixturePath("machines/volume-layouts.json"),
        FixturePath("machines/disk-space-desktop.json"), FixturePath("machines/pentium4-asus.json"),
        FixturePath("machines/vista-workstation.json"),
        // Wine's answers: a volume without extents that has a device number, a volume name
        // whose drive type differs from its letter's, controls that fail for every drive.
        FixturePath("machines/wine-prefix.json"),
        // A DVD drive holding a data disc, an empty card-reader slot, a dynamic disk with a
        // recovery partition and two active entries, a fragmented C:, a WMI query that fails
        // partway, a property that cannot be read and a locked key: each failure stays on its
        // object.
        FixturePath("machines/awkward-devices.json"),
    };
    for (const std::filesystem::path& machine : machines) {
        SCOPED_TRACE(machine.filename().string());
        const ProgramResult capture = Capture(machine, "captured.json");
        ASSERT_EQ(capture.exitCode, 0) << capture.console << capture.trace;
        EXPECT_EQ(capture.console.rfind("Machine profile written to " + (scratch_.Path() / "captured.json").string() +
                                            "\nIt holds:\n",
                                        0),
                  0u)
            << capture.console;

        const ExampleRun original = RunExample(machine);
        const ExampleRun replay = RunExample(scratch_.Path() / "captured.json");
        EXPECT_EQ(replay.program.exitCode, original.program.exitCode);
        EXPECT_EQ(replay.program.console, original.program.console);
        EXPECT_EQ(replay.program.trace, original.program.trace);
        EXPECT_EQ(replay.results, original.results);

        ASSERT_EQ(Capture(scratch_.Path() / "captured.json", "again.json").exitCode, 0);
        EXPECT_EQ(scratch_.Read("again.json"), scratch_.Read("captured.json"));
    }
}

TEST_F(CaptureRoundTripTest, WinePrefixAnswersByVolumeNameAndDeviceNumberAsWineDoes)
{
    // Wine lists no extent for C: but names its disk and partition, and calls no volume fixed by
    // its volume name: C: is then not on USB, and no volume counts towards the volume limit.
    const ExampleRun run = RunExample(FixturePath("machines/wine-prefix.json"));
    EXPECT_NE(run.program.console.find("\\\\.\\c: does not reside on a usb drive\n"), std::string::npos)
        << run.program.console;
    EXPECT_NE(run.results.find("<name>VolumeLimitTest</name><passed>true</passed><more_info>0</more_info>"),
              std::string::npos)
        << run.results;
}

TEST_F(CaptureRoundTripTest, FailedCallsBecomeFaultsAndABadCommandLineIsRefused)
{
    const std::filesystem::path broken = scratch_.Write(
        "broken.json", R"({ "faults": [{ "call": "GetVersionExW", "error": 5 }, { "call": "ConnectServer", "error": "0x80041003" }] })");
    const ProgramResult capture = Capture(broken, "captured.json");
    ASSERT_EQ(capture.exitCode, 0) << capture.trace;
    const std::string profile = scratch_.Read("captured.json");
    EXPECT_NE(profile.find(R"({"call": "GetVersionExW", "error": "0x00000005"})"), std::string::npos) << profile;
    EXPECT_NE(profile.find(R"({"call": "ConnectServer", "error": "0x80041003"})"), std::string::npos) << profile;
    EXPECT_NE(capture.console.find("failed on this machine: GetVersionExW, error 0x00000005\n"), std::string::npos);

    const ProgramResult refused = RunProgram(TARNWICK_CAPTURE, {"-x"}, scratch_.Path(), broken);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.console.rfind("Usage: TarnwickCapture.exe", 0), 0u);
}

}  // namespace
