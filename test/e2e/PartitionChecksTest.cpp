// The partition and disk checks end to end on a workstation with a basic MBR disk 0 of exactly
// 1,048,576 MB (with an MBR recovery partition of type 0x27), a dynamic MBR disk 1 of
// 2,000,398,934,016 bytes, a USB disk 2 with an active partition and a RAID volume as disk 3
// (GPT: a recovery partition numbered 1, LDM metadata and data), and on variants of it.

#include "support/ProgramRun.h"
#include "support/ResultText.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace {

const std::string EchoedNames =
    "DynamicVolumeTest\nRecoveryTest\nDualBootTest\nDiskLimitTest\nDiskSizeLimitTest\nRaidTest\n";
const std::string Closing = "writing xml and deallocating tests\n";
const std::string LocalDisk0 = "IsPhysicalDriveLocalHardDisk(0)\nFound a volume that resides on disk 0\n";
const std::string LocalDisk1 = "IsPhysicalDriveLocalHardDisk(1)\nFound a volume that resides on disk 1\n";
const std::string LocalDisk2 = "IsPhysicalDriveLocalHardDisk(2)\nFound a volume that resides on disk 2\n";
const std::string LocalDisk3 = "IsPhysicalDriveLocalHardDisk(3)\nFound a volume that resides on disk 3\n";
const std::string DiskNames =
    "Name: \\\\.\\PHYSICALDRIVE0\nName: \\\\.\\PHYSICALDRIVE1\n"
    "Name: \\\\.\\PHYSICALDRIVE2\nName: \\\\.\\PHYSICALDRIVE3\n";

// A master boot record with the four entries (boot indicator, type) and the given signature,
// as hexadecimal digit pairs for a profile's sector0.
std::string MbrHex(const std::vector<std::pair<int, int>>& entries, int signature = 0xAA55)
{
    std::vector<int> bytes(512, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        bytes[446 + 16 * i] = entries[i].first;
        bytes[446 + 16 * i + 4] = entries[i].second;
    }
    bytes[510] = signature & 0xFF;
    bytes[511] = signature >> 8;
    std::string hex;
    for (const int byte : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof(pair), "%02x", byte);
        hex += pair;
    }
    return hex;
}

class PartitionChecksTest : public ::testing::Test {
protected:
    // The workstation fixture, changed by edit, saved in the scratch folder.
    std::filesystem::path Workstation(const std::function<void(nlohmann::json&)>& edit)
    {
        return EditedMachine(folder, "partition-layouts.json", edit);
    }

    ProgramResult Run(const std::filesystem::path& machine, const std::string& document = {})
    {
        const std::string input = document.empty() ? FixturePath("documents/partition-checks.xml").string()
                                                   : folder.Write("in.xml", document).string();
        return RunTarnwick({"-i", input, "-o", "results.xml", "-f"}, folder.Path(), machine);
    }

    // The results of a run of one check, named name, against machine.
    std::string RunOne(const std::string& name, const std::filesystem::path& machine, std::string* console = nullptr)
    {
        const ProgramResult result = Run(machine, "<input_tests><test><name>" + name + "</name></test></input_tests>");
        if (console != nullptr) {
            *console = result.console;
        }
        return folder.Read("results.xml");
    }

    ScratchFolder folder;
};

TEST_F(PartitionChecksTest, WorkstationFailsEveryLayoutCheckButTheDiskCount)
{
    const ProgramResult result = Run(FixturePath("machines/partition-layouts.json"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, EchoedNames +
                                  "[DVTEST] \\\\.\\PhysicalDrive0 is not a dynamic drive\n\n"
                                  "[DVTEST] Mbr partition 1 of type PARTITION_LDM\n\n"
                                  "[DVTEST] \\\\.\\PhysicalDrive1 is a dynamic drive\n\n"
                                  "[DVTEST] \\\\.\\PhysicalDrive2 is not a dynamic drive\n\n"
                                  "[DVTEST] Gpt partition 4 of type PARTITION_LDM_METADATA_GUID\n\n"
                                  "[DVTEST] Gpt partition 5 of type PARTITION_LDM_DATA_GUID\n\n"
                                  "[DVTEST] \\\\.\\PhysicalDrive3 is a dynamic drive\n\n"
                                  "[DVTEST] Detected dynamic disks...FAILURE\n\n"
                                  "[RTEST] \\\\.\\PhysicalDrive3 contains a recovery partition\n\n" +
                                  LocalDisk0 + LocalDisk1 + LocalDisk2 + LocalDisk3 + DiskNames + Closing);
    // Disk 0 is exactly at the size limit and passes; the MBR partition of type 0x27 is no
    // recovery partition; the USB disk's active entry does not count, the two local ones do.
    EXPECT_EQ(
        folder.Read("results.xml"),
        "<test_results>" +
            ResultElement(
                "DynamicVolumeTest", false, "", "Dynamic disks",
                "<descriptive_solution>Convert \\\\.\\PhysicalDrive1 to a basic disk.</descriptive_solution>"
                "<descriptive_solution>Convert \\\\.\\PhysicalDrive3 to a basic disk.</descriptive_solution>") +
            ResultElement("RecoveryTest", false, ResultLines("more_info", {"1", "1"}), "Recovery partition",
                          "<descriptive_solution>Remove the recovery partition.</descriptive_solution>") +
            ResultElement("DualBootTest", false, "", "Dual boot") +
            ResultElement("DiskLimitTest", true, ResultLines("more_info", {"4"}), "Disk count") +
            ResultElement("DiskSizeLimitTest", false, ResultLines("more_info", {"1907729", "3815447"}), "Disk size",
                          "<descriptive_solution>Use disks of at most 1 TiB.</descriptive_solution>") +
            ResultElement("RaidTest", false,
                          ResultLines("more_info", {"\\\\.\\PhysicalDrive0 11 SATA", "\\\\.\\PhysicalDrive1 11 SATA",
                                                    "\\\\.\\PhysicalDrive2 7 USB", "\\\\.\\PhysicalDrive3 8 RAID"}),
                          "RAID") +
            "</test_results>\n");
}

TEST_F(PartitionChecksTest, GapInTheDriveNumbersHidesLaterDrivesFromAllButTheRaidProbe)
{
    // Disk 2 (the USB disk) gone: the walk stops at number 2, so the RAID and GPT disk 3 is seen
    // only by the RAID check, which tries every number from 0 to 31.
    const auto machine = Workstation([](nlohmann::json& m) {
        m["physicalDrives"].erase(2);
        m["volumes"].erase(2);
        m["diskInterfaces"].erase(2);
    });
    const ProgramResult result = Run(machine);
    EXPECT_EQ(result.console, EchoedNames +
                                  "[DVTEST] \\\\.\\PhysicalDrive0 is not a dynamic drive\n\n"
                                  "[DVTEST] Mbr partition 1 of type PARTITION_LDM\n\n"
                                  "[DVTEST] \\\\.\\PhysicalDrive1 is a dynamic drive\n\n"
                                  "[DVTEST] Detected dynamic disks...FAILURE\n\n" +
                                  LocalDisk0 + LocalDisk1 + DiskNames + Closing);
    EXPECT_EQ(
        folder.Read("results.xml"),
        "<test_results>" +
            ResultElement(
                "DynamicVolumeTest", false, "", "Dynamic disks",
                "<descriptive_solution>Convert \\\\.\\PhysicalDrive1 to a basic disk.</descriptive_solution>") +
            ResultElement("RecoveryTest", true, "", "Recovery partition") +
            ResultElement("DualBootTest", false, "", "Dual boot") +
            ResultElement("DiskLimitTest", true, ResultLines("more_info", {"4"}), "Disk count") +
            ResultElement("DiskSizeLimitTest", false, ResultLines("more_info", {"1907729"}), "Disk size",
                          "<descriptive_solution>Use disks of at most 1 TiB.</descriptive_solution>") +
            ResultElement("RaidTest", false,
                          ResultLines("more_info", {"\\\\.\\PhysicalDrive0 11 SATA", "\\\\.\\PhysicalDrive1 11 SATA",
                                                    "\\\\.\\PhysicalDrive3 8 RAID"}),
                          "RAID") +
            "</test_results>\n");

    // Only disks 0 and 5: the RAID probe still reaches 5, the size check stops after 0.
    const auto sparse = Workstation([](nlohmann::json& m) {
        m["physicalDrives"] = nlohmann::json::array({m["physicalDrives"][0], m["physicalDrives"][1]});
        m["physicalDrives"][1]["number"] = 5;
        m["volumes"] = nlohmann::json::array();
        m["diskInterfaces"] = nlohmann::json::array();
    });
    EXPECT_EQ(
        RunOne("RaidTest", sparse),
        "<test_results>" +
            ResultElement("RaidTest", true,
                          ResultLines("more_info", {"\\\\.\\PhysicalDrive0 11 SATA", "\\\\.\\PhysicalDrive5 11 SATA"}),
                          "") +
            "</test_results>\n");
    EXPECT_EQ(RunOne("DiskSizeLimitTest", sparse),
              "<test_results>" + ResultElement("DiskSizeLimitTest", true, "", "") + "</test_results>\n");
}

TEST_F(PartitionChecksTest, DualBootCountsActiveEntriesOfLocalNonUsbDisksOnly)
{
    struct Scenario {
        const char* what;
        std::function<void(nlohmann::json&)> edit;
        bool passed;
    };
    const std::vector<Scenario> scenarios{
        {"one local active entry plus a USB disk with one",
         [](nlohmann::json& m) { m["physicalDrives"][1]["partitions"][0]["bootIndicator"] = false; }, true},
        {"two active entries on one disk",
         [](nlohmann::json& m) {
             m["physicalDrives"][1]["partitions"][0]["bootIndicator"] = false;
             m["physicalDrives"][0]["partitions"][1]["bootIndicator"] = true;
         },
         false},
        {"active extended container 0x0F does not count",
         [](nlohmann::json& m) {
             m["physicalDrives"][1]["sector0"] = MbrHex({{0x80, 0x0F}, {0x00, 0x42}});
         },
         true},
        {"active extended container 0x05 does not count",
         [](nlohmann::json& m) {
             m["physicalDrives"][1]["sector0"] = MbrHex({{0x00, 0x42}, {0x80, 0x05}});
         },
         true},
        {"boot indicator 0x81 is not active",
         [](nlohmann::json& m) {
             m["physicalDrives"][1]["sector0"] = MbrHex({{0x81, 0x42}});
         },
         true},
        {"no boot signature",
         [](nlohmann::json& m) {
             m["physicalDrives"][1]["sector0"] = MbrHex({{0x80, 0x42}}, 0x55AA);
         },
         true},
        {"sector 0 reads short", [](nlohmann::json& m) { m["physicalDrives"][1]["sector0"] = "80"; }, true},
        {"4096-byte sectors refuse a 512-byte read",
         [](nlohmann::json& m) { m["physicalDrives"][1]["bytesPerSector"] = 4096; }, true},
        {"no volume lies on disk 1", [](nlohmann::json& m) { m["volumes"].erase(1); }, true},
        {"disk 1 on USB too", [](nlohmann::json& m) { m["physicalDrives"][1]["busType"] = "BusTypeUsb"; }, true},
        {"sector 0 cannot be read",
         [](nlohmann::json& m) {
             m["faults"] = {{{"call", "ReadFile"}, {"error", 23}}};
         },
         true},
        {"the second read fails",
         [](nlohmann::json& m) {
             m["faults"] = {{{"call", "ReadFile"}, {"error", 23}, {"after", 1}}};
         },
         true},
        {"standard user opens no drive", [](nlohmann::json& m) { m["administrator"] = false; }, true},
        {"three active entries over two disks",
         [](nlohmann::json& m) { m["physicalDrives"][0]["partitions"][1]["bootIndicator"] = true; }, false},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        EXPECT_EQ(RunOne("DualBootTest", Workstation(scenario.edit)),
                  "<test_results>" + ResultElement("DualBootTest", scenario.passed, "", "") + "</test_results>\n");
    }
}

TEST_F(PartitionChecksTest, DiskCountAboveSixFailsWithTheNumberTooMany)
{
    const auto withDisks = [&](int count) {
        return Workstation([count](nlohmann::json& m) {
            m["wmi"]["Win32_DiskDrive"] = nlohmann::json::array();
            for (int i = 0; i < count; ++i) {
                m["wmi"]["Win32_DiskDrive"].push_back({{"Name", "\\\\.\\PHYSICALDRIVE" + std::to_string(i)}});
            }
        });
    };
    const std::string document =
        "<input_tests><test><name>DiskLimitTest</name>"
        "<descriptive_solution language='en'>Remove %d disks.</descriptive_solution></test></input_tests>";
    Run(withDisks(6), document);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + ResultElement("DiskLimitTest", true, ResultLines("more_info", {"6"}), "") +
                  "</test_results>\n");
    std::string console;
    Run(withDisks(7), document);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" +
                  ResultElement("DiskLimitTest", false, ResultLines("more_info", {"7"}), "",
                                "<descriptive_solution>Remove 1 disks.</descriptive_solution>") +
                  "</test_results>\n");

    // A disk without a name, one with a NULL name and one whose name has no string are counted
    // without a line; an empty name is a name.
    const auto unnamed = Workstation([](nlohmann::json& m) {
        m["wmi"]["Win32_DiskDrive"] = {{{"Name", "\\\\.\\PHYSICALDRIVE0"}},
                                       {{"Name", nullptr}},
                                       {{"Name", {{"bstr", nullptr}}}},
                                       {{"Name", ""}},
                                       {{"Index", 4}}};
    });
    EXPECT_EQ(RunOne("DiskLimitTest", unnamed, &console),
              "<test_results>" + ResultElement("DiskLimitTest", true, ResultLines("more_info", {"5"}), "") +
                  "</test_results>\n");
    EXPECT_EQ(console, "DiskLimitTest\nName: \\\\.\\PHYSICALDRIVE0\nName: \n" + Closing);

    // WMI failures count no disk at all, even when they come after some disks were listed.
    for (const auto& fault : std::vector<std::pair<std::string, int>>{
             {"ConnectServer", 0}, {"ExecQuery", 0}, {"CoSetProxyBlanket", 0}, {"Next", 2}}) {
        const std::string& call = fault.first;
        const int after = fault.second;
        SCOPED_TRACE(call);
        const auto failing = Workstation([&](nlohmann::json& m) {
            m["faults"] = {{{"call", call}, {"error", "0x80041003"}, {"after", after}}};
        });
        EXPECT_EQ(RunOne("DiskLimitTest", failing),
                  "<test_results>" + ResultElement("DiskLimitTest", true, ResultLines("more_info", {"0"}), "") +
                      "</test_results>\n");
    }
}

TEST_F(PartitionChecksTest, DiskSizeLimitIsOneTebibyteInWholeMegabytes)
{
    constexpr std::int64_t Limit = 1LL << 40;
    constexpr std::int64_t Megabyte = 1LL << 20;
    const struct {
        const char* what;
        std::int64_t length;
        bool passes;
    } rows[] = {
        {"a megabyte under", Limit - Megabyte, true},
        {"exactly at the limit", Limit, true},
        {"a byte short of a megabyte over", Limit + Megabyte - 1, true},
        {"a megabyte over", Limit + Megabyte, false},
    };
    const std::string document =
        "<input_tests><test><name>DiskSizeLimitTest</name>"
        "<descriptive_solution language='en'>Use smaller disks.</descriptive_solution>"
        "</test></input_tests>";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        // Disk 0 alone, with its one data partition.
        Run(Workstation([&](nlohmann::json& m) {
                // An explicit array: a braced single element is copied as the element itself by clang.
                m["physicalDrives"] = nlohmann::json::array({m["physicalDrives"][0]});
                m["diskInterfaces"] = nlohmann::json::array({m["diskInterfaces"][0]});
                m["physicalDrives"][0]["length"] = row.length;
                m["physicalDrives"][0]["partitions"].erase(1);
                m["volumes"] = nlohmann::json::array();
            }),
            document);
        EXPECT_EQ(folder.Read("results.xml"),
                  "<test_results>" +
                      (row.passes ? ResultElement("DiskSizeLimitTest", true, "", "")
                                  : ResultElement("DiskSizeLimitTest", false,
                                                  ResultLines("more_info", {std::to_string(row.length >> 20)}), "",
                                                  "<descriptive_solution>Use smaller disks.</descriptive_solution>")) +
                      "</test_results>\n");
    }
}

TEST_F(PartitionChecksTest, FailingControlsAndMissingRightsLetTheChecksPass)
{
    ProgramResult result = Run(Workstation([](nlohmann::json& m) {
        m["faults"] = {{{"call", "DeviceIoControl.IOCTL_DISK_GET_DRIVE_LAYOUT_EX"}, {"error", 21}},
                       {{"call", "DeviceIoControl.IOCTL_DISK_GET_LENGTH_INFO"}, {"error", 21}},
                       {{"call", "DeviceIoControl.IOCTL_STORAGE_QUERY_PROPERTY"}, {"error", 21}}};
    }));
    const auto noLayout = [](const std::string& tag) {
        return "[" + tag + "] ERROR: Could not retrieve partitions\n\n";
    };
    std::string dynamicLines;
    for (int drive = 0; drive < 4; ++drive) {
        dynamicLines += noLayout("DVTEST") + "[DVTEST] \\\\.\\PhysicalDrive" + std::to_string(drive) +
                        " is not a dynamic drive\n\n";
    }
    // Without the adapter descriptor no disk counts as USB, so disk 2's active entry counts too.
    EXPECT_EQ(result.console, EchoedNames + dynamicLines + "[DVTEST] No dynamic disks detected...SUCCESS\n\n" +
                                  noLayout("RTEST") + noLayout("RTEST") + noLayout("RTEST") + noLayout("RTEST") +
                                  LocalDisk0 + LocalDisk1 + LocalDisk2 + LocalDisk3 + DiskNames + Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + ResultElement("DynamicVolumeTest", true, "", "Dynamic disks") +
                  ResultElement("RecoveryTest", true, "", "Recovery partition") +
                  ResultElement("DualBootTest", false, "", "Dual boot") +
                  ResultElement("DiskLimitTest", true, ResultLines("more_info", {"4"}), "Disk count") +
                  ResultElement("DiskSizeLimitTest", true, "", "Disk size") +
                  ResultElement("RaidTest", true, "", "RAID") + "</test_results>\n");

    // A standard user opens no physical drive: nothing is examined and everything passes.
    result = Run(Workstation([](nlohmann::json& m) { m["administrator"] = false; }));
    EXPECT_EQ(result.console, EchoedNames + "[DVTEST] No dynamic disks detected...SUCCESS\n\n" + DiskNames + Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + ResultElement("DynamicVolumeTest", true, "", "Dynamic disks") +
                  ResultElement("RecoveryTest", true, "", "Recovery partition") +
                  ResultElement("DualBootTest", true, "", "Dual boot") +
                  ResultElement("DiskLimitTest", true, ResultLines("more_info", {"4"}), "Disk count") +
                  ResultElement("DiskSizeLimitTest", true, "", "Disk size") +
                  ResultElement("RaidTest", true, "", "RAID") + "</test_results>\n");
}

TEST_F(PartitionChecksTest, LargeTablesGrowTheLayoutBufferAndRawDisksHaveNoPartitions)
{
    // Disk 3 with 40 more partitions after its LDM ones: the table needs several larger buffers,
    // and every entry is still seen. Disk 0 has no table at all.
    const auto machine = Workstation([](nlohmann::json& m) {
        auto& partitions = m["physicalDrives"][3]["partitions"];
        for (int i = 0; i < 40; ++i) {
            partitions.push_back({{"number", 6 + i},
                                  {"startingOffset", 4001000000000LL + i * 1048576LL},
                                  {"length", 1048576},
                                  {"type", i == 39 ? "recovery" : "basicData"}});
        }
        m["physicalDrives"][0]["partitionStyle"] = "RAW";
        m["physicalDrives"][0].erase("partitions");
    });
    std::string console;
    EXPECT_EQ(RunOne("RecoveryTest", machine, &console),
              "<test_results>" +
                  ResultElement("RecoveryTest", false, ResultLines("more_info", {"1", "1", "45", "45"}), "") +
                  "</test_results>\n");
    EXPECT_EQ(console, "RecoveryTest\n[RTEST] \\\\.\\PhysicalDrive3 contains a recovery partition\n\n" + Closing);
    RunOne("DynamicVolumeTest", machine, &console);
    EXPECT_NE(console.find("[DVTEST] \\\\.\\PhysicalDrive0 is not a dynamic drive\n\n"), std::string::npos) << console;
    EXPECT_NE(console.find("[DVTEST] Gpt partition 5 of type PARTITION_LDM_DATA_GUID\n\n"
                           "[DVTEST] \\\\.\\PhysicalDrive3 is a dynamic drive\n\n"),
              std::string::npos)
        << console;
}

}  // namespace

namespace {

// Each example machine has what a real machine of its kind has, and the storage checks say so.
TEST(ExampleMachinesStorageTest, EachExampleMachineGetsTheVerdictsOfItsKind)
{
    const std::vector<std::string> checks{"DynamicVolumeTest",
                                          "RecoveryTest",
                                          "DualBootTest",
                                          "DiskLimitTest",
                                          "DiskSizeLimitTest",
                                          "RaidTest",
                                          "CompressedRootTest",
                                          "HiddenVolumeTest",
                                          "VolumeLimitTest",
                                          "VolumeMountPointTest",
                                          "UnformattedPartitionTest"};
    // The checks that fail on each machine; all others pass.
    const std::vector<std::pair<std::string, std::vector<std::string>>> machines{
        // A second disk with its own active partition; the system-reserved volume has no letter.
        {"default.json", {"DualBootTest", "HiddenVolumeTest"}},
        // The maker's recovery partition on a GPT disk.
        {"laptop-ssd.json", {"RecoveryTest", "HiddenVolumeTest"}},
        // Data on a 2 TB RAID volume, with a volume mounted at D:\Logs.
        {"two-disk-server.json", {"DiskSizeLimitTest", "RaidTest", "HiddenVolumeTest", "VolumeMountPointTest"}},
        // A standard user opens no drive: only what needs no rights can fail.
        {"desktop-usb-stick.json", {"HiddenVolumeTest"}},
    };
    std::string document = "<input_tests>";
    for (const std::string& check : checks) {
        document += "<test><name>" + check + "</name></test>";
    }
    document += "</input_tests>";
    for (const auto& [machine, failing] : machines) {
        SCOPED_TRACE(machine);
        ScratchFolder folder;
        const ProgramResult result = RunTarnwick({"-i", folder.Write("in.xml", document).string(), "-o", "results.xml"},
                                                 folder.Path(), ExamplePath("machines/" + machine));
        EXPECT_EQ(result.exitCode, 0);
        const std::string results = folder.Read("results.xml");
        for (const std::string& check : checks) {
            const bool fails = std::ranges::find(failing, check) != failing.end();
            EXPECT_NE(results.find("<name>" + check + "</name><passed>" + (fails ? "false" : "true") + "</passed>"),
                      std::string::npos)
                << check;
        }
    }
}

}  // namespace
