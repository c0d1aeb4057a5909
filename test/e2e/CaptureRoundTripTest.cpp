// The capture run against simulated machines: what it records of a machine must make the checks
// answer as they answered on that machine, and capturing the captured machine again must give
// the same profile.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct ExampleRun {
    ProgramResult program;
    std::string results;
};

// Each check's name and verdict, in the order of the results document.
std::vector<std::string> Verdicts(const std::string& results)
{
    std::vector<std::string> verdicts;
    for (std::size_t at = results.find("<name>"); at != std::string::npos; at = results.find("<name>", at + 1)) {
        verdicts.push_back(results.substr(at, results.find("</passed>", at) - at));
    }
    return verdicts;
}

class CaptureRoundTripTest : public testing::Test {
protected:
    ExampleRun RunExample(const std::filesystem::path& profile)
    {
        ExampleRun run{
            RunTarnwick({"-i", ExamplePath("input.xml").string(), "-o", "results.xml", "-f"}, scratch_.Path(), profile),
            {}};
        run.results = scratch_.Read("results.xml");
        return run;
    }

    // With the real values kept, so that the replay gives the machine's run byte for byte.
    ProgramResult Capture(const std::filesystem::path& profile, const std::string& output)
    {
        return RunProgram(TARNWICK_CAPTURE, {"-o", output, "-k"}, scratch_.Path(), profile);
    }

    ScratchFolder scratch_;
};

TEST_F(CaptureRoundTripTest, ReplayOfACaptureGivesTheMachinesOwnRun)
{
    const std::vector<std::filesystem::path> machines{
        ExamplePath("machines/default.json"),
        ExamplePath("machines/desktop-usb-stick.json"),
        ExamplePath("machines/laptop-ssd.json"),
        ExamplePath("machines/two-disk-server.json"),
        FixturePath("machines/partition-layouts.json"),
        FixturePath("machines/volume-layouts.json"),
        FixturePath("machines/disk-space-desktop.json"),
        FixturePath("machines/pentium4-asus.json"),
        FixturePath("machines/vista-workstation.json"),
        // Wine's answers: a volume without extents that has a device number, a volume name
        // whose drive type differs from its letter's, controls that fail for every drive.
        FixturePath("machines/wine-prefix.json"),
        // A DVD drive holding a data disc, an empty card-reader slot, a dynamic disk with a
        // recovery partition and two active entries, a fragmented C:, a WMI query that fails
        // partway, a property that cannot be read and a locked key: each failure stays on its
        // object.
        FixturePath("machines/awkward-devices.json"),
        // An administrator on Windows 2000, which has no CreateWellKnownSid (kept out of the
        // fixture machines, whose fleet table is fixed).
        FixturePath("capture/windows-2000.json"),
    };
    for (const std::filesystem::path& machine : machines) {
        SCOPED_TRACE(machine.filename().string());
        const ProgramResult capture = Capture(machine, "captured.json");
        ASSERT_EQ(capture.exitCode, 0) << capture.console << capture.trace;
        EXPECT_EQ(
            capture.console.rfind(
                "Machine profile written to " + (scratch_.Path() / "captured.json").string() + "\nIt holds:\n", 0),
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

        // With its stand-ins, as a capture is by default, the machine keeps every verdict.
        ASSERT_EQ(RunProgram(TARNWICK_CAPTURE, {"-o", "private.json"}, scratch_.Path(), machine).exitCode, 0);
        EXPECT_EQ(Verdicts(original.results).size(), 38u);
        EXPECT_EQ(Verdicts(RunExample(scratch_.Path() / "private.json").results), Verdicts(original.results));
    }
}

// A laptop whose profile would name its user and its devices: the computer's name in the USB
// associations, a USB stick's serial number in its device identifier and its disk interface, two
// MBR disk signatures, two GPT partition identifiers, a volume mounted in the user's folder and
// another folder there whose volume is offline.
constexpr const char* PrivateMachine = R"({
  "administrator": true, "programFilesFolder": "C:\\Program Files",
  "physicalDrives": [
    { "number": 0, "busType": "BusTypeSata", "length": 256060514304, "partitionStyle": "GPT", "partitions": [
      { "number": 1, "startingOffset": 1048576, "length": 104857600, "type": "{C12A7328-F81F-11D2-BA4B-00A0C93EC93B}",
        "id": "{A11CE001-7C3E-4B5A-9D1F-2E8C4B6A0F13}" },
      { "number": 2, "startingOffset": 105906176, "length": 200000000000, "type": "{EBD0A0A2-B9E5-4433-87C0-68B6B72699C7}",
        "id": "{A11CE002-7C3E-4B5A-9D1F-2E8C4B6A0F13}" }] },
    { "number": 1, "busType": "BusTypeUsb", "length": 15728640000, "removableMedia": true, "partitionStyle": "MBR",
      "diskSignature": 1589718645,
      "partitions": [{ "number": 1, "startingOffset": 1048576, "length": 15727591424, "type": "0x0C" }] },
    { "number": 2, "busType": "BusTypeSata", "length": 500107862016, "partitionStyle": "MBR",
      "diskSignature": 2964705628,
      "partitions": [{ "number": 1, "startingOffset": 1048576, "length": 500106813440, "type": "0x07" }] }],
  "volumes": [
    { "name": "\\\\?\\Volume{c0000000-0000-0000-0000-000000000001}\\", "driveLetters": ["C"], "fileSystem": "NTFS",
      "unresolvedMountPoints": [{ "folder": "Users\\jsmith\\Backup\\", "error": 21 }],
      "extents": [{ "disk": 0, "startingOffset": 105906176, "length": 200000000000 }],
      "totalBytes": 200000000000, "freeBytes": 90000000000, "allocation": { "runs": [{ "used": 30000000 }, { "free": 18828125 }] } },
    { "name": "\\\\?\\Volume{c0000000-0000-0000-0000-000000000002}\\", "driveType": "DRIVE_REMOVABLE",
      "driveLetters": ["E"], "fileSystem": "FAT32",
      "extents": [{ "disk": 1, "startingOffset": 1048576, "length": 15727591424 }],
      "totalBytes": 15727591424, "freeBytes": 12884901888 },
    { "name": "\\\\?\\Volume{c0000000-0000-0000-0000-000000000003}\\", "fileSystem": "NTFS",
      "mountPoints": ["C:\\Users\\jsmith\\Photos\\"],
      "extents": [{ "disk": 2, "startingOffset": 1048576, "length": 500106813440 }],
      "totalBytes": 500106813440, "freeBytes": 250000000000 }],
  "diskInterfaces": [
    { "devicePath": "\\\\?\\scsi#disk&ven_&prod_samsung_ssd_850#4&2a7e6b0e&0&000000#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}", "drive": 0 },
    { "devicePath": "\\\\?\\usbstor#disk&ven_sandisk&prod_cruzer_blade&rev_1.26#4c530001220711115432&0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}", "drive": 1 },
    { "devicePath": "\\\\?\\scsi#disk&ven_&prod_wdc_wd5000lpvx#4&2a7e6b0e&0&010000#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}", "drive": 2 }],
  "wmi": {
    "Win32_USBControllerDevice": [
      { "Dependent": "\\\\JSMITH-LAPTOP\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\ROOT_HUB20\\\\4&2F1E0B7D&0\"" },
      { "Dependent": "\\\\JSMITH-LAPTOP\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_0781&PID_5567\\\\4C530001220711115432\"" },
      { "Dependent": "\\\\JSMITH-LAPTOP\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USBSTOR\\\\DISK&VEN_SANDISK&PROD_CRUZER_BLADE&REV_1.26\\\\4C530001220711115432&0\"" }],
    "Win32_PnPEntity": [
      { "DeviceID": "USB\\ROOT_HUB20\\4&2F1E0B7D&0", "Description": "USB Root Hub" },
      { "DeviceID": "USB\\VID_0781&PID_5567\\4C530001220711115432", "Description": "USB Mass Storage Device" },
      { "DeviceID": "USBSTOR\\DISK&VEN_SANDISK&PROD_CRUZER_BLADE&REV_1.26\\4C530001220711115432&0", "Description": "Disk drive" }]
  }
})";

TEST_F(CaptureRoundTripTest, ACaptureHoldsNoneOfTheMachinesSecretsUnlessAskedAndReplaysItsVerdicts)
{
    const std::filesystem::path machine = scratch_.Write("private.json", PrivateMachine);
    // The computer's name, the user's name (in the mount folder), the serial number, the GPT
    // partition identifiers' common start and the two disk signatures as sector 0 holds them.
    const std::vector<std::string> secrets{"JSMITH",  "Photos",   "4C530001220711115432",
                                           "A11CE00", "752EC15E", "5CD1B5B0"};
    const auto upper = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
        return text;
    };
    const ExampleRun original = RunExample(machine);
    EXPECT_NE(original.results.find("<name>VolumeMountPointTest</name><passed>false</passed>"), std::string::npos);

    ASSERT_EQ(RunProgram(TARNWICK_CAPTURE, {"-o", "private.json.captured"}, scratch_.Path(), machine).exitCode, 0);
    const std::string profile = upper(scratch_.Read("private.json.captured"));
    for (const std::string& secret : secrets) {
        EXPECT_EQ(profile.find(upper(secret)), std::string::npos) << secret;
    }
    // The stand-ins of the mount folders are the only text of the replay that differs.
    const auto realFolders = [](std::string text) {
        for (const auto& [standIn, folder] :
             {std::pair<std::string, std::string>{"MountedFolder1\\", "Users\\jsmith\\Photos\\"},
              {"MountedFolder2\\", "Users\\jsmith\\Backup\\"}}) {
            for (std::size_t at = text.find(standIn); at != std::string::npos; at = text.find(standIn, at)) {
                text.replace(at, standIn.size(), folder);
            }
        }
        return text;
    };
    const ExampleRun replay = RunExample(scratch_.Path() / "private.json.captured");
    EXPECT_EQ(replay.program.exitCode, original.program.exitCode);
    EXPECT_EQ(realFolders(replay.program.console), original.program.console);
    EXPECT_EQ(realFolders(replay.results), original.results);
    // Capturing the replay gives the same stand-ins again.
    ASSERT_EQ(
        RunProgram(TARNWICK_CAPTURE, {"-o", "again.json"}, scratch_.Path(), scratch_.Path() / "private.json.captured")
            .exitCode,
        0);
    EXPECT_EQ(scratch_.Read("again.json"), scratch_.Read("private.json.captured"));

    // -k keeps every real value.
    ASSERT_EQ(Capture(machine, "real.json").exitCode, 0);
    const std::string real = upper(scratch_.Read("real.json"));
    for (const std::string& secret : secrets) {
        EXPECT_NE(real.find(upper(secret)), std::string::npos) << secret;
    }
}

TEST_F(CaptureRoundTripTest, AVolumeOfMillionsOfRunsCapturesSmallAndMeasuresTheSameForEveryNeed)
{
    // 3 million runs of 64 KiB clusters, a free run of 3000 MB among them, and at the end a run of
    // 3125 MB that reaches into the last three clusters, which the check never reads: it measures
    // 3124 MB there.
    const std::filesystem::path machine = scratch_.Write("fragmented.json", R"({
      "administrator": true, "programFilesFolder": "C:\\Program Files",
      "physicalDrives": [{ "number": 0, "busType": "BusTypeSata", "length": 900000000000 }],
      "diskInterfaces": [{ "devicePath": "\\\\?\\ide#disk0", "drive": 0 }],
      "volumes": [{ "name": "\\\\?\\Volume{c}\\", "driveLetters": ["C"], "fileSystem": "NTFS",
        "extents": [{ "disk": 0, "startingOffset": 1048576, "length": 858391248896 }],
        "totalBytes": 858391248896, "freeBytes": 400000000000, "sectorsPerCluster": 128,
        "allocation": { "runs": [
          { "fragmented": 12000002, "seed": 3, "meanUsedRun": 4, "meanFreeRun": 4 }, { "used": 1 },
          { "free": 48000 }, { "used": 1 },
          { "fragmented": 1000000, "seed": 4, "meanUsedRun": 3, "meanFreeRun": 5 }, { "used": 5 },
          { "free": 50002 }] } }]
    })");
    ASSERT_EQ(Capture(machine, "captured.json").exitCode, 0);
    EXPECT_LE(std::filesystem::file_size(scratch_.Path() / "captured.json"), 1u << 20);
    for (const std::string need : {"1", "2", "3123", "3124", "3125"}) {
        SCOPED_TRACE(need);
        const std::filesystem::path input = scratch_.Write("in.xml", R"(<input_tests><test>
          <name>ContiguousFreeHardDiskSpaceTest</name><parameter>)" + need +
                                                                         R"(</parameter>
          <descriptive_name language="en">Contiguous space</descriptive_name>
          <descriptive_solution language="en">Defragment %wS.</descriptive_solution></test></input_tests>)");
        const auto run = [&](const std::filesystem::path& profile) {
            ExampleRun result{RunTarnwick({"-i", input.string(), "-o", "results.xml", "-f"}, scratch_.Path(), profile),
                              {}};
            result.results = scratch_.Read("results.xml");
            return result;
        };
        const ExampleRun original = run(machine);
        const ExampleRun replay = run(scratch_.Path() / "captured.json");
        EXPECT_NE(original.program.console.find("3124MB available"), std::string::npos) << original.program.console;
        EXPECT_EQ(replay.program.console, original.program.console);
        EXPECT_EQ(replay.program.trace, original.program.trace);
        EXPECT_EQ(replay.results, original.results);
    }
}

TEST_F(CaptureRoundTripTest, BitsIsAskedAsTheCheckAsksItAndAnswersTheReplayTheSame)
{
    // A user who is not logged on interactively, a job BITS refuses, and an AddFile error that
    // does not fail the check.
    nlohmann::json machine = nlohmann::json::parse(std::ifstream(ExamplePath("machines/default.json")));
    for (const std::string bits :
         {R"({"addFile": "0x800704dd"})", R"({"createJob": "0x80070005"})", R"({"addFile": "0x80070005"})"}) {
        SCOPED_TRACE(bits);
        machine["bits"] = nlohmann::json::parse(bits);
        const std::filesystem::path original = scratch_.Write("bits.json", machine.dump());
        ASSERT_EQ(Capture(original, "captured.json").exitCode, 0);
        EXPECT_NE(scratch_.Read("captured.json").find("\"bits\": " + bits), std::string::npos);
        const ExampleRun expected = RunExample(original);
        const ExampleRun replay = RunExample(scratch_.Path() / "captured.json");
        EXPECT_EQ(replay.results, expected.results);
        EXPECT_EQ(expected.results.find("<name>BitsAdminTest</name><passed>false</passed>") != std::string::npos,
                  bits.find("0x800704dd") != std::string::npos);
    }
}

TEST_F(CaptureRoundTripTest, DriveLettersOfNoVolumeAWriteProtectedVolumeAndAnOfflineMountFolderReplayAsTheyAre)
{
    // A SUBST letter of a fixed drive, whose device path is a folder and does not open, and a
    // disconnected network share: both are drive letters, neither is a volume. C: opens for
    // reading only, and holds a mount folder whose volume is offline.
    nlohmann::json machine = nlohmann::json::parse(std::ifstream(ExamplePath("machines/default.json")));
    machine["otherDrives"] = nlohmann::json::parse(
        R"([{ "letter": "S", "driveType": "DRIVE_FIXED", "openError": 5 }, { "letter": "Z", "driveType": 4, "openError": 53 }])");
    for (nlohmann::json& volume : machine["volumes"]) {
        if (volume.value("driveLetters", nlohmann::json::array()) == nlohmann::json::array({"C"})) {
            volume["writeOpenError"] = 19;
            volume["unresolvedMountPoints"] = nlohmann::json::parse(R"([{"folder": "Archive\\", "error": 21}])");
        }
    }
    const std::filesystem::path original = scratch_.Write("letters.json", machine.dump());
    ASSERT_EQ(Capture(original, "captured.json").exitCode, 0);
    // The checks open only a fixed drive's letter, and so does the capture: the network drive is
    // never opened, nor its root read.
    EXPECT_EQ(nlohmann::json::parse(scratch_.Read("captured.json"))["otherDrives"],
              nlohmann::json::parse(R"([{"letter": "S", "driveType": 3, "openError": 5, "rootAttributes": 16},
                                        {"letter": "Z", "driveType": 4}])"));
    const ExampleRun expected = RunExample(original);
    EXPECT_NE(
        expected.program.console.find("[HDTEST] ERROR: Couldn't open \\\\.\\s:\n\n[HDTEST] Failed with error 5\n"),
        std::string::npos)
        << expected.program.console;
    EXPECT_NE(expected.program.console.find("[HDTEST] Failed with error 19\n"), std::string::npos);
    EXPECT_NE(expected.program.console.find("[VMPTEST] Found volume mount point Archive\\ on volume"),
              std::string::npos);
    // The parsed profile must outlive the loop: a range over a member of a temporary does not keep
    // the temporary.
    const nlohmann::json captured = nlohmann::json::parse(scratch_.Read("captured.json"));
    for (const nlohmann::json& volume : captured["volumes"]) {
        if (volume["driveLetters"] == nlohmann::json::array({"C"})) {
            EXPECT_EQ(volume["unresolvedMountPoints"],
                      nlohmann::json::parse(R"([{"folder": "Archive\\", "error": 21}])"));
        }
    }
    const ExampleRun replay = RunExample(scratch_.Path() / "captured.json");
    EXPECT_EQ(replay.program.console, expected.program.console);
    EXPECT_EQ(replay.results, expected.results);
    ASSERT_EQ(Capture(scratch_.Path() / "captured.json", "again.json").exitCode, 0);
    EXPECT_EQ(scratch_.Read("again.json"), scratch_.Read("captured.json"));
}

TEST_F(CaptureRoundTripTest, DrivesPastThirtyOneAreCapturedWhileTheWalkGoesOn)
{
    // Drives 0 to 33, then a gap and drive 40, which the walk never reaches.
    nlohmann::json machine = nlohmann::json::parse(std::ifstream(ExamplePath("machines/default.json")));
    for (int number = 2; number <= 40; number = number == 33 ? 40 : number + 1) {
        machine["physicalDrives"].push_back({{"number", number}, {"busType", "BusTypeSata"}, {"length", 1000000000}});
    }
    const std::filesystem::path original = scratch_.Write("drives.json", machine.dump());
    ASSERT_EQ(Capture(original, "captured.json").exitCode, 0);
    const std::string profile = scratch_.Read("captured.json");
    EXPECT_NE(profile.find("\"number\": 33,"), std::string::npos);
    EXPECT_EQ(profile.find("\"number\": 40,"), std::string::npos);
    EXPECT_EQ(RunExample(scratch_.Path() / "captured.json").results, RunExample(original).results);
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

// The failed query of the second of three devices belongs to that device: the replay answers the
// first as the machine did and fails where the machine failed.
TEST_F(CaptureRoundTripTest, OneDevicesFailedQueryStaysWithThatDevice)
{
    const std::filesystem::path machine = scratch_.Write("devices.json", R"({"wmi": {
        "Win32_USBControllerDevice": [
            {"Dependent": "\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_1&PID_1\\\\KB0001SERIAL\""},
            {"Dependent": "\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_2&PID_2\\\\STICK002SERIAL\""},
            {"Dependent": "\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_3&PID_3\\\\IN0003SERIAL\""}],
        "Win32_PnPEntity": {
            "instances": [{"DeviceID": "USB\\VID_1&PID_1\\KB0001SERIAL", "Description": "USB Keyboard"},
                          {"DeviceID": "USB\\VID_2&PID_2\\STICK002SERIAL", "Description": "USB Mass Storage Device"},
                          {"DeviceID": "USB\\VID_3&PID_3\\IN0003SERIAL", "Description": "USB Input Device"}],
            "deviceQueries": {"usb\\vid_2&pid_2\\stick002serial": {"faults": {"ExecQuery": "0x80041006"}}}}}})");
    const ProgramResult capture = Capture(machine, "captured.json");
    ASSERT_EQ(capture.exitCode, 0) << capture.trace;
    const std::string profile = scratch_.Read("captured.json");
    EXPECT_NE(profile.find(R"("deviceQueries": {)"), std::string::npos) << profile;
    EXPECT_NE(profile.find(R"("USB\\VID_2&PID_2\\STICK002SERIAL": {"faults": {"ExecQuery": "0x80041006"}})"),
              std::string::npos)
        << profile;

    const ExampleRun original = RunExample(machine);
    EXPECT_NE(original.program.console.find("Description: USB Keyboard\n"), std::string::npos);
    EXPECT_EQ(original.program.console.find("Description: USB Input Device\n"), std::string::npos);
    const ExampleRun replay = RunExample(scratch_.Path() / "captured.json");
    EXPECT_EQ(replay.program.console, original.program.console);
    EXPECT_EQ(replay.results, original.results);
    ASSERT_EQ(Capture(scratch_.Path() / "captured.json", "again.json").exitCode, 0);
    EXPECT_EQ(scratch_.Read("again.json"), profile);

    // Captured privately, the failed query is keyed by the device's stand-in, as its record is:
    // no serial is left, and the replay fails the same device's query.
    ASSERT_EQ(RunProgram(TARNWICK_CAPTURE, {"-o", "private.json"}, scratch_.Path(), machine).exitCode, 0);
    const std::string privateProfile = scratch_.Read("private.json");
    for (const char* serial : {"KB0001SERIAL", "STICK002SERIAL", "IN0003SERIAL"}) {
        EXPECT_EQ(privateProfile.find(serial), std::string::npos) << serial << "\n" << privateProfile;
    }
    const ExampleRun privateReplay = RunExample(scratch_.Path() / "private.json");
    EXPECT_EQ(privateReplay.program.console, original.program.console);
    EXPECT_EQ(privateReplay.results, original.results);
}

TEST_F(CaptureRoundTripTest, FailedCallsBecomeFaultsAndABadCommandLineIsRefused)
{
    const std::filesystem::path broken = scratch_.Write(
        "broken.json",
        R"({ "faults": [{ "call": "GetVersionExW", "error": 5 }, { "call": "ConnectServer", "error": "0x80041003" }] })");
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

TEST_F(CaptureRoundTripTest, WithoutOutputTheProfileIsNamedAfterTheComputer)
{
    // The name as GetComputerNameW gives it, letters beyond ASCII too; a machine whose name
    // cannot be read, by a fault or for want of one, gets the one name of old.
    const std::filesystem::path named =
        scratch_.Write("named.json", R"({ "description": "named", "computerName": "PC-ÄRZTE-07" })");
    const ProgramResult capture = RunProgram(TARNWICK_CAPTURE, {}, scratch_.Path(), named);
    ASSERT_EQ(capture.exitCode, 0) << capture.trace;
    EXPECT_TRUE(std::filesystem::exists(scratch_.Path() / std::filesystem::path(u8"PC-ÄRZTE-07.json")));
    EXPECT_NE(capture.console.find("PC-ÄRZTE-07.json\n"), std::string::npos) << capture.console;
    EXPECT_FALSE(std::filesystem::exists(scratch_.Path() / "machine-profile.json"));
    const ProgramResult usage = RunProgram(TARNWICK_CAPTURE, {"/?"}, scratch_.Path(), named);
    EXPECT_NE(usage.console.find("(default PC-ÄRZTE-07.json,\nnamed after the computer)"), std::string::npos)
        << usage.console;

    const std::filesystem::path faulted = scratch_.Write(
        "faulted.json", R"({ "computerName": "PC-1", "faults": [{ "call": "GetComputerNameW", "error": 5 }] })");
    const std::filesystem::path nameless = scratch_.Write("nameless.json", R"({ "description": "nameless" })");
    for (const std::filesystem::path& profile : {faulted, nameless}) {
        std::filesystem::remove(scratch_.Path() / "machine-profile.json");
        const ProgramResult fallback = RunProgram(TARNWICK_CAPTURE, {}, scratch_.Path(), profile);
        ASSERT_EQ(fallback.exitCode, 0) << fallback.trace;
        EXPECT_TRUE(std::filesystem::exists(scratch_.Path() / "machine-profile.json")) << profile;
        EXPECT_FALSE(std::filesystem::exists(scratch_.Path() / "PC-1.json"));
    }
}

}  // namespace
