// The volume checks end to end on a workstation with a system-reserved volume without a letter
// and C on disk 0; D (with a volume mounted in D:\Data), a RAW volume F and a FAT32 volume K on
// disk 1; a USB hard disk E that Windows reports as fixed; a DVD drive G; and on variants of it.

#include "support/ProgramRun.h"
#include "support/ResultText.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

const std::string Closing = "writing xml and deallocating tests\n";
// FILE_ATTRIBUTE_DIRECTORY and FILE_ATTRIBUTE_COMPRESSED.
constexpr int CompressedFolder = 0x10 | 0x800;

// The volume \\?\Volume{a0000000-0000-0000-0000-<id>} without its trailing backslash.
std::string Volume(const std::string& id)
{
    return "\\\\?\\Volume{a0000000-0000-0000-0000-" + id + "}";
}

std::string NotOnUsb(const std::string& id)
{
    return Volume(id) + " does not reside on a usb drive\n";
}

std::string OnUsb(const std::string& id)
{
    return Volume(id) + " resides on a usb drive\n";
}

const std::string SystemReserved = "000000000001";
const std::string VolumeC = "00000000000c";
const std::string VolumeD = "00000000000d";
const std::string VolumeData = "0000000000da";
const std::string VolumeE = "00000000000e";
const std::string VolumeF = "00000000000f";
const std::string VolumeK = "00000000000b";

// The USB lines of one look at every drive letter's volume (C, D, E, F, K; the DVD drive G is
// not fixed), up to and including the letter of stopAt.
std::string LetterVolumes(const std::string& stopAt = {})
{
    std::string lines;
    for (const std::string& id : {VolumeC, VolumeD, VolumeE, VolumeF, VolumeK}) {
        lines += id == VolumeE ? OnUsb(id) : NotOnUsb(id);
        if (id == stopAt) {
            break;
        }
    }
    return lines;
}

const std::string LetterPass =
    "\\\\.\\c: does not reside on a usb drive\n\\\\.\\d: does not reside on a usb drive\n"
    "\\\\.\\e: resides on a usb drive\n\\\\.\\f: does not reside on a usb drive\n"
    "\\\\.\\k: does not reside on a usb drive\n";
const std::string HiddenPass = NotOnUsb(SystemReserved) + LetterVolumes() + NotOnUsb(VolumeC) + LetterVolumes(VolumeC) +
                               NotOnUsb(VolumeD) + LetterVolumes(VolumeD) + NotOnUsb(VolumeData) + LetterVolumes() +
                               OnUsb(VolumeE) + NotOnUsb(VolumeF) + LetterVolumes(VolumeF) + NotOnUsb(VolumeK) +
                               LetterVolumes(VolumeK);
const std::string CountPass = NotOnUsb(SystemReserved) + NotOnUsb(VolumeC) + NotOnUsb(VolumeD) + NotOnUsb(VolumeData) +
                              OnUsb(VolumeE) + NotOnUsb(VolumeF) + NotOnUsb(VolumeK);

std::string NoMountPoints(const std::string& id)
{
    return NotOnUsb(id) + "[VMPTEST] No mount points on volume " + Volume(id) + "\\\n\n";
}

const std::string MountPointPass = NoMountPoints(SystemReserved) + NoMountPoints(VolumeC) + NotOnUsb(VolumeD) +
                                   "[VMPTEST] Found volume mount point Data\\ on volume " + Volume(VolumeD) + "\\\n\n" +
                                   NoMountPoints(VolumeData) + OnUsb(VolumeE) + NoMountPoints(VolumeF) +
                                   NoMountPoints(VolumeK) + "[VMPTEST] Volume mount point(s) found...FAILURE\n\n";
const std::string LogicalDiskPass =
    "Name: C:\n\\\\.\\C: does not reside on a usb drive\nFileSystem: NTFS\n"
    "Name: D:\n\\\\.\\D: does not reside on a usb drive\nFileSystem: NTFS\n"
    "Name: E:\n\\\\.\\E: resides on a usb drive\n"
    "Name: F:\n\\\\.\\F: does not reside on a usb drive\nFileSystem: NULL\n"
    "Name: G:\n\\\\.\\G: does not reside on a usb drive\n"
    "Name: K:\n\\\\.\\K: does not reside on a usb drive\nFileSystem: FAT32\n";

class VolumeChecksTest : public ::testing::Test {
protected:
    std::filesystem::path Workstation(const std::function<void(nlohmann::json&)>& edit)
    {
        return EditedMachine(folder, "volume-layouts.json", edit);
    }

    ProgramResult Run(const std::filesystem::path& machine)
    {
        return RunTarnwick({"-i", FixturePath("documents/volume-checks.xml").string(), "-o", "results.xml", "-f"},
                           folder.Path(), machine);
    }

    // The results of a run of one check with a solution template that shows its value.
    std::string RunOne(const std::string& name, const std::filesystem::path& machine, std::string* console = nullptr)
    {
        const std::string document = "<input_tests><test><name>" + name +
                                     "</name><descriptive_solution language='en'>[%wS]</descriptive_solution>"
                                     "</test></input_tests>";
        const ProgramResult result = RunTarnwick(
            {"-i", folder.Write("in.xml", document).string(), "-o", "results.xml", "-f"}, folder.Path(), machine);
        if (console != nullptr) {
            *console = result.console;
        }
        return folder.Read("results.xml");
    }

    ScratchFolder folder;
};

TEST_F(VolumeChecksTest, WorkstationHasHiddenVolumesAMountPointAndARawDisk)
{
    const ProgramResult result = Run(FixturePath("machines/volume-layouts.json"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console,
              "CompressedRootTest\nHiddenVolumeTest\nVolumeLimitTest\nVolumeMountPointTest\n"
              "UnformattedPartitionTest\n" +
                  LetterPass + HiddenPass + CountPass + MountPointPass + LogicalDiskPass + Closing);
    EXPECT_EQ(
        folder.Read("results.xml"),
        "<test_results>" + ResultElement("CompressedRootTest", true, "", "Compressed root") +
            ResultElement("HiddenVolumeTest", false,
                          ResultLines("more_info", {Volume(SystemReserved) + "\\", Volume(VolumeData) + "\\"}),
                          "Hidden volumes",
                          ResultLines("descriptive_solution", {"Give " + Volume(SystemReserved) + "\\ a drive letter.",
                                                               "Give " + Volume(VolumeData) + "\\ a drive letter."})) +
            ResultElement("VolumeLimitTest", true, ResultLines("more_info", {"6"}), "Volume count") +
            ResultElement("VolumeMountPointTest", false, ResultLines("more_info", {"Data\\"}), "Mount points",
                          ResultLines("descriptive_solution", {"Remove the mount point Data\\."})) +
            ResultElement("UnformattedPartitionTest", false, ResultLines("more_info", {"F:"}), "Unformatted partitions",
                          ResultLines("descriptive_solution", {"Format F:."})) +
            "</test_results>\n");
}

TEST_F(VolumeChecksTest, CompressedRootsAreFoundByLetterFirstAndByVolumeOnlyThen)
{
    struct Scenario {
        const char* what;
        std::function<void(nlohmann::json&)> edit;
        std::string results;
    };
    const std::vector<Scenario> scenarios{
        {"C compressed: found by its letter",
         [](nlohmann::json& m) { m["volumes"][1]["rootAttributes"] = CompressedFolder; },
         ResultElement("CompressedRootTest", false, ResultLines("more_info", {"\\\\.\\c:\\"}), "",
                       ResultLines("descriptive_solution", {"[c:\\]"}))},
        {"C and K compressed: both letters",
         [](nlohmann::json& m) {
             m["volumes"][1]["rootAttributes"] = CompressedFolder;
             m["volumes"][6]["rootAttributes"] = CompressedFolder | 0x20;
         },
         ResultElement("CompressedRootTest", false, ResultLines("more_info", {"\\\\.\\c:\\", "\\\\.\\k:\\"}), "",
                       ResultLines("descriptive_solution", {"[c:\\]", "[k:\\]"}))},
        {"system-reserved volume compressed: found by its name, no solution",
         [](nlohmann::json& m) { m["volumes"][0]["rootAttributes"] = CompressedFolder; },
         ResultElement("CompressedRootTest", false, ResultLines("more_info", {Volume(SystemReserved) + "\\"}), "")},
        {"a letter found: the volume pass does not run",
         [](nlohmann::json& m) {
             m["volumes"][0]["rootAttributes"] = CompressedFolder;
             m["volumes"][2]["rootAttributes"] = CompressedFolder;
         },
         ResultElement("CompressedRootTest", false, ResultLines("more_info", {"\\\\.\\d:\\"}), "",
                       ResultLines("descriptive_solution", {"[d:\\]"}))},
        {"USB volume compressed: skipped by letter, found by name",
         [](nlohmann::json& m) { m["volumes"][4]["rootAttributes"] = CompressedFolder; },
         ResultElement("CompressedRootTest", false, ResultLines("more_info", {Volume(VolumeE) + "\\"}), "")},
        // The first and the last letter GetLogicalDrives can report.
        {"K compressed and moved to Z: its letter is the last one looked at",
         [](nlohmann::json& m) {
             m["volumes"][6]["rootAttributes"] = CompressedFolder;
             m["volumes"][6]["driveLetters"] = {"Z"};
         },
         ResultElement("CompressedRootTest", false, ResultLines("more_info", {"\\\\.\\z:\\"}), "",
                       ResultLines("descriptive_solution", {"[z:\\]"}))},
        {"C compressed and moved to A: its letter is the first one looked at",
         [](nlohmann::json& m) {
             m["volumes"][1]["rootAttributes"] = CompressedFolder;
             m["volumes"][1]["driveLetters"] = {"A"};
         },
         ResultElement("CompressedRootTest", false, ResultLines("more_info", {"\\\\.\\a:\\"}), "",
                       ResultLines("descriptive_solution", {"[a:\\]"}))},
        {"compressed file, not folder", [](nlohmann::json& m) { m["volumes"][1]["rootAttributes"] = 0x800; },
         ResultElement("CompressedRootTest", true, "", "")},
        {"attributes cannot be read",
         [](nlohmann::json& m) {
             m["volumes"][1]["rootAttributes"] = CompressedFolder;
             m["faults"] = {{{"call", "GetFileAttributesExW"}, {"error", 5}}};
         },
         ResultElement("CompressedRootTest", true, "", "")},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        EXPECT_EQ(RunOne("CompressedRootTest", Workstation(scenario.edit)),
                  "<test_results>" + scenario.results + "</test_results>\n");
    }
}

TEST_F(VolumeChecksTest, VolumesOnTheFirstAndLastLettersAreNotHidden)
{
    // The system-reserved volume on Z and the one mounted in D:\Data on A as well.
    EXPECT_EQ(RunOne("HiddenVolumeTest", Workstation([](nlohmann::json& m) {
                         m["volumes"][0]["driveLetters"] = {"Z"};
                         m["volumes"][3]["driveLetters"] = {"A"};
                     })),
              "<test_results>" + ResultElement("HiddenVolumeTest", true, "", "") + "</test_results>\n");
    // Only the one on A.
    EXPECT_EQ(
        RunOne("HiddenVolumeTest", Workstation([](nlohmann::json& m) { m["volumes"][3]["driveLetters"] = {"A"}; })),
        "<test_results>" +
            ResultElement("HiddenVolumeTest", false, ResultLines("more_info", {Volume(SystemReserved) + "\\"}), "",
                          ResultLines("descriptive_solution", {"[" + Volume(SystemReserved) + "\\]"})) +
            "</test_results>\n");
}

TEST_F(VolumeChecksTest, TwelveFixedVolumesPassAndThirteenFail)
{
    // More volumes on disk 1, without letters: 6 + 6 is the limit, 6 + 7 one too many. USB and
    // DVD volumes do not count.
    const auto withMore = [&](int extra) {
        return Workstation([extra](nlohmann::json& m) {
            for (int i = 0; i < extra; ++i) {
                m["volumes"].push_back(
                    {{"name", "\\\\?\\Volume{b0000000-0000-0000-0000-00000000000" + std::to_string(i) + "}\\"},
                     {"extents", {{{"disk", 1}, {"startingOffset", 1048576}, {"length", 1048576}}}}});
            }
        });
    };
    EXPECT_EQ(RunOne("VolumeLimitTest", withMore(6)),
              "<test_results>" + ResultElement("VolumeLimitTest", true, ResultLines("more_info", {"12"}), "") +
                  "</test_results>\n");
    const std::string document =
        "<input_tests><test><name>VolumeLimitTest</name>"
        "<descriptive_solution language='en'>At most %d.</descriptive_solution></test></input_tests>";
    const ProgramResult result = RunTarnwick(
        {"-i", folder.Write("in.xml", document).string(), "-o", "results.xml", "-f"}, folder.Path(), withMore(7));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(folder.Read("results.xml"), "<test_results>" +
                                              ResultElement("VolumeLimitTest", false, ResultLines("more_info", {"13"}),
                                                            "", ResultLines("descriptive_solution", {"At most 12."})) +
                                              "</test_results>\n");
}

TEST_F(VolumeChecksTest, MountPointsOfUsbVolumesAreNotLookedFor)
{
    // A second folder on D, and a volume mounted on the USB disk: only D's two count.
    const auto machine = Workstation([](nlohmann::json& m) {
        m["volumes"][3]["mountPoints"].push_back("D:\\Games\\");
        m["volumes"][5]["mountPoints"] = {"E:\\Backup\\"};
    });
    std::string console;
    EXPECT_EQ(RunOne("VolumeMountPointTest", machine, &console),
              "<test_results>" +
                  ResultElement("VolumeMountPointTest", false, ResultLines("more_info", {"Data\\", "Games\\"}), "",
                                ResultLines("descriptive_solution", {"[Data\\]", "[Games\\]"})) +
                  "</test_results>\n");
    EXPECT_NE(console.find("[VMPTEST] Found volume mount point Data\\ on volume " + Volume(VolumeD) +
                           "\\\n\n"
                           "[VMPTEST] Found volume mount point Games\\ on volume " +
                           Volume(VolumeD) + "\\\n\n"),
              std::string::npos)
        << console;
    EXPECT_EQ(console.find("Backup"), std::string::npos) << console;
}

TEST_F(VolumeChecksTest, FileSystemsWithoutNtfsOrFatAreUnformatted)
{
    struct Scenario {
        const char* what;
        nlohmann::json fileSystem;
        std::string line;
        bool unformatted;
    };
    const std::vector<Scenario> scenarios{
        {"RAW", "RAW", "FileSystem: RAW\n", true},
        {"a string without its pointer", {{"bstr", nullptr}}, "FileSystem: NULL\n", true},
        {"an empty name", "", "FileSystem: \n", true},
        {"exFAT", "exFAT", "FileSystem: exFAT\n", false},
        {"lower-case ntfs", "ntfs", "FileSystem: ntfs\n", true},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        std::string console;
        const std::string results = RunOne("UnformattedPartitionTest", Workstation([&](nlohmann::json& m) {
                                               m["wmi"]["Win32_LogicalDisk"][3]["FileSystem"] = scenario.fileSystem;
                                           }),
                                           &console);
        EXPECT_NE(console.find("Name: F:\n\\\\.\\F: does not reside on a usb drive\n" + scenario.line + "Name: G:\n"),
                  std::string::npos)
            << console;
        EXPECT_EQ(results, "<test_results>" +
                               (scenario.unformatted
                                    ? ResultElement("UnformattedPartitionTest", false, ResultLines("more_info", {"F:"}),
                                                    "", ResultLines("descriptive_solution", {"[F:]"}))
                                    : ResultElement("UnformattedPartitionTest", true, "", "")) +
                               "</test_results>\n");
    }

    // Disks without a name are passed over silently; a class without FileSystem has nothing to
    // judge; a failing query leaves nothing found.
    std::string console;
    EXPECT_EQ(RunOne("UnformattedPartitionTest", Workstation([](nlohmann::json& m) {
                         m["wmi"]["Win32_LogicalDisk"][3]["Name"] = nullptr;
                         m["wmi"]["Win32_LogicalDisk"][0]["Name"] = {{"bstr", nullptr}};
                     }),
                     &console),
              "<test_results>" + ResultElement("UnformattedPartitionTest", true, "", "") + "</test_results>\n");
    EXPECT_EQ(console.find("Name: C:"), std::string::npos) << console;
    EXPECT_EQ(console.find("Name: F:"), std::string::npos) << console;
    EXPECT_EQ(RunOne("UnformattedPartitionTest", Workstation([](nlohmann::json& m) {
                         for (auto& disk : m["wmi"]["Win32_LogicalDisk"]) {
                             disk.erase("FileSystem");
                         }
                     }),
                     &console),
              "<test_results>" + ResultElement("UnformattedPartitionTest", true, "", "") + "</test_results>\n");
    EXPECT_EQ(console.find("FileSystem"), std::string::npos) << console;
    // A property that cannot be read leaves its disk unjudged: every Get after the sixth fails,
    // so F's FileSystem and then the names of G and K.
    EXPECT_EQ(RunOne("UnformattedPartitionTest", Workstation([](nlohmann::json& m) {
                         m["faults"] = {{{"call", "Get"}, {"error", "0x80041002"}, {"after", 6}}};
                     }),
                     &console),
              "<test_results>" + ResultElement("UnformattedPartitionTest", true, "", "") + "</test_results>\n");
    EXPECT_EQ(console, "UnformattedPartitionTest\n" + LogicalDiskPass.substr(0, LogicalDiskPass.find("Name: F:")) +
                           "Name: F:\n\\\\.\\F: does not reside on a usb drive\n" + Closing);
    for (const auto& fault :
         std::vector<std::pair<std::string, int>>{{"ExecQuery", 0}, {"CoInitializeSecurity", 0}, {"Next", 3}}) {
        const std::string& call = fault.first;
        const int after = fault.second;
        SCOPED_TRACE(call);
        RunOne("UnformattedPartitionTest", Workstation([&](nlohmann::json& m) {
                   m["faults"] = {{{"call", call}, {"error", "0x80041003"}, {"after", after}}};
               }),
               &console);
        EXPECT_EQ(folder.Read("results.xml"),
                  "<test_results>" + ResultElement("UnformattedPartitionTest", true, "", "") + "</test_results>\n");
    }
}

TEST_F(VolumeChecksTest, VolumesThatCannotBeListedLeaveNothingToReport)
{
    const ProgramResult result = Run(Workstation([](nlohmann::json& m) {
        m["volumes"][1]["rootAttributes"] = 0x810;
        m["faults"] = {{{"call", "FindFirstVolumeW"}, {"error", 5}}, {{"call", "ExecQuery"}, {"error", "0x80041003"}}};
    }));
    // The compressed C is still found by its letter; everything that walks volumes finds none.
    EXPECT_EQ(result.console,
              "CompressedRootTest\nHiddenVolumeTest\nVolumeLimitTest\nVolumeMountPointTest\n"
              "UnformattedPartitionTest\n" +
                  LetterPass +
                  "[HVTEST] ERROR: Cannot find any volumes\n\n"
                  "[VMPTEST] ERROR: Cannot find any volumes\n\n"
                  "[VMPTEST] No volume mount points found...SUCCESS\n\n" +
                  Closing);
    EXPECT_EQ(
        folder.Read("results.xml"),
        "<test_results>" +
            ResultElement("CompressedRootTest", false, ResultLines("more_info", {"\\\\.\\c:\\"}), "Compressed root",
                          ResultLines("descriptive_solution", {"Uncompress the root folder of c:\\."})) +
            ResultElement("HiddenVolumeTest", true, "", "Hidden volumes") +
            ResultElement("VolumeLimitTest", true, ResultLines("more_info", {"0"}), "Volume count") +
            ResultElement("VolumeMountPointTest", true, "", "Mount points") +
            ResultElement("UnformattedPartitionTest", true, "", "Unformatted partitions") + "</test_results>\n");

    // Without the compressed C, the volume pass runs and reports that it has nothing to walk.
    std::string console;
    RunOne("CompressedRootTest", Workstation([](nlohmann::json& m) {
               m["faults"] = {{{"call", "FindFirstVolumeW"}, {"error", 5}}};
           }),
           &console);
    EXPECT_EQ(console, "CompressedRootTest\n" + LetterPass + "[CRTEST] ERROR: Cannot find any volumes\n\n" + Closing);

    // Letters that do not lead to a volume name make every fixed, non-USB volume a hidden one.
    EXPECT_EQ(RunOne("HiddenVolumeTest", Workstation([](nlohmann::json& m) {
                         m["faults"] = {{{"call", "GetVolumeNameForVolumeMountPointW"}, {"error", 5}}};
                     })),
              "<test_results>" +
                  ResultElement("HiddenVolumeTest", false,
                                ResultLines("more_info", {Volume(SystemReserved) + "\\", Volume(VolumeC) + "\\",
                                                          Volume(VolumeD) + "\\", Volume(VolumeData) + "\\",
                                                          Volume(VolumeF) + "\\", Volume(VolumeK) + "\\"}),
                                "",
                                ResultLines("descriptive_solution",
                                            {"[" + Volume(SystemReserved) + "\\]", "[" + Volume(VolumeC) + "\\]",
                                             "[" + Volume(VolumeD) + "\\]", "[" + Volume(VolumeData) + "\\]",
                                             "[" + Volume(VolumeF) + "\\]", "[" + Volume(VolumeK) + "\\]"})) +
                  "</test_results>\n");

    // A mount-point search that fails counts as a volume without mount points.
    RunOne("VolumeMountPointTest", Workstation([](nlohmann::json& m) {
               m["faults"] = {{{"call", "FindFirstVolumeMountPointW"}, {"error", 5}}};
           }),
           &console);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + ResultElement("VolumeMountPointTest", true, "", "") + "</test_results>\n");
    EXPECT_NE(console.find(NotOnUsb(VolumeD) + "[VMPTEST] No mount points on volume " + Volume(VolumeD) + "\\\n\n"),
              std::string::npos);
}

}  // namespace
