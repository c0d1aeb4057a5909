// A failure that belongs to one object replays on that object alone. The awkward-devices machine
// is run with one more failing call on one drive, volume, disk interface, key, value, WMI query or
// property: every check answers as it did without it, except the checks that read that object.
// The same failure made for every object at once flips other checks (DualBootTest,
// CompressedRootTest, VolumeLimitTest, the .NET and WMI checks), which these cases guard against.

#include "support/ProgramRun.h"
#include "support/ResultText.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

using Edit = std::function<void(nlohmann::json&)>;
// Each check's whole element of the results document, by the check's name.
using ResultsByCheck = std::map<std::string, std::string>;

constexpr const char* Fixture = "awkward-devices.json";

struct Case {
    std::string name;
    Edit edit;
    // The checks whose results may differ from those of the machine without the edit.
    std::set<std::string> changed;
};

ResultsByCheck SplitResults(const std::string& results)
{
    ResultsByCheck checks;
    static const std::regex element("<test><name>([A-Za-z0-9]+)</name>[\\s\\S]*?</test>");
    for (auto match = std::sregex_iterator(results.begin(), results.end(), element); match != std::sregex_iterator();
         ++match) {
        checks[(*match)[1]] = match->str();
    }
    return checks;
}

// The machine without the failures it has of its own, for the cases of the registry and WMI.
void WithoutItsFaults(nlohmann::json& machine)
{
    machine["registry"].erase("SOFTWARE\\Norvale\\Tessel");
    machine["registry"].erase("SOFTWARE\\Varrowen\\Quillon for PC");
    machine["wmi"]["Win32_Service"] = nlohmann::json(machine["wmi"]["Win32_Service"]["instances"]);
    for (nlohmann::json& system : machine["wmi"]["Win32_ComputerSystem"]) {
        system["Model"] = "OptiPlex 7010";
    }
}

class ObjectFaultReplayTest : public testing::Test {
protected:
    ResultsByCheck Run(const Edit& edit)
    {
        const ProgramResult run = RunTarnwick({"-i", ExamplePath("input.xml").string(), "-o", "results.xml", "-f"},
                                              scratch_.Path(), EditedMachine(scratch_, Fixture, edit));
        EXPECT_EQ(run.exitCode, 0) << run.console;
        return SplitResults(scratch_.Read("results.xml"));
    }

    void ExpectOnlyChanged(const Edit& base, const std::vector<Case>& cases)
    {
        const ResultsByCheck before = Run(base);
        ASSERT_EQ(before.size(), 38u);
        for (const Case& each : cases) {
            SCOPED_TRACE(each.name);
            const ResultsByCheck after = Run([&](nlohmann::json& machine) {
                base(machine);
                each.edit(machine);
            });
            std::set<std::string> changed;
            for (const auto& [check, element] : before) {
                if (after.count(check) == 0 || after.at(check) != element) {
                    changed.insert(check);
                }
            }
            EXPECT_EQ(changed, each.changed);
        }
    }

    ScratchFolder scratch_;
};

nlohmann::json Faults(std::initializer_list<std::pair<const char*, std::uint32_t>> calls)
{
    nlohmann::json faults = nlohmann::json::object();
    for (const auto& [call, error] : calls) {
        faults[call] = error;
    }
    return faults;
}

TEST_F(ObjectFaultReplayTest, AStorageObjectsFailureChangesOnlyTheChecksOfThatObject)
{
    const std::vector<Case> cases{
        // The USB hard disk as an empty slot: the dynamic, recovery and dual-boot checks still
        // judge disk 0 (a fault on every drive makes all three pass).
        {"drive 2 not ready",
         [](nlohmann::json& machine) {
             machine["physicalDrives"][2]["faults"] =
                 Faults({{"IOCTL_DISK_GET_LENGTH_INFO", 21}, {"IOCTL_DISK_GET_DRIVE_LAYOUT_EX", 21}, {"ReadFile", 21}});
         },
         {}},
        // D: without extents or bitmap, as a volume on removable media or CDFS answers: D: is no
        // longer measured, C: still is, and disk 0 still counts for the dual-boot check.
        {"D: without extents or bitmap",
         [](nlohmann::json& machine) {
             machine["volumes"][2]["faults"] =
                 Faults({{"IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS", 1}, {"FSCTL_GET_VOLUME_BITMAP", 1}});
         },
         {"ContiguousFreeHardDiskSpaceTest"}},
        // D: locked (BitLocker): C:'s mount point, compressed root and free space are still seen.
        {"D: locked",
         [](nlohmann::json& machine) {
             machine["volumes"][2]["faults"] = Faults({{"FindFirstVolumeMountPointW", 5},
                                                       {"GetFileAttributesExW", 5},
                                                       {"GetDiskFreeSpaceExW", 5},
                                                       {"GetDiskFreeSpaceW", 5}});
         },
         {"ContiguousFreeHardDiskSpaceTest"}},
        // The USB stick's interface tells no path and its drive no descriptor: the USB hard disk
        // is still on USB, so the volume count stays 3.
        {"USB stick's interface and descriptor",
         [](nlohmann::json& machine) {
             machine["diskInterfaces"][1]["faults"] = Faults({{"SetupDiGetDeviceInterfaceDetailW", 13}});
             machine["physicalDrives"][1]["faults"] = Faults({{"IOCTL_STORAGE_QUERY_PROPERTY", 1}});
         },
         {"RaidTest"}},
        // The volume walk breaks off after C:, in every walk: the two volumes before it count.
        {"walk ends after C:",
         [](nlohmann::json& machine) {
             machine["volumes"][1]["faults"] = Faults({{"FindNextVolumeW", 21}});
         },
         {"VolumeLimitTest"}},
    };
    ExpectOnlyChanged([](nlohmann::json&) {}, cases);

    const ResultsByCheck walk = Run([](nlohmann::json& machine) {
        machine["volumes"][1]["faults"] = Faults({{"FindNextVolumeW", 21}});
    });
    EXPECT_NE(walk.at("VolumeLimitTest").find("<more_info>2</more_info>"), std::string::npos)
        << walk.at("VolumeLimitTest");
}

TEST_F(ObjectFaultReplayTest, ARegistryOrWmiObjectsFailureChangesOnlyTheChecksOfThatObject)
{
    const std::vector<Case> cases{
        // A locked product key reads as no product; the .NET and BIOS keys are still read.
        {"locked key",
         [](nlohmann::json& machine) {
             machine["registry"]["SOFTWARE\\Norvale\\Tessel"] = {{"faults", Faults({{"RegOpenKeyExW", 5}})}};
         },
         {}},
        {"unreadable .NET root",
         [](nlohmann::json& machine) {
             machine["registry"]["SOFTWARE\\Microsoft\\.NETFramework"]["values"]["InstallRoot"]["faults"] =
                 Faults({{"RegQueryValueExW", 5}});
         },
         {"NETFrameworkTest"}},
        // The service query refused: the disk, BIOS and make checks still ask their own classes.
        {"service query refused",
         [](nlohmann::json& machine) {
             machine["wmi"]["Win32_Service"] = {{"instances", machine["wmi"]["Win32_Service"]},
                                                {"faults", {{"ExecQuery", "0x80041003"}}}};
         },
         {}},
        {"model unreadable",
         [](nlohmann::json& machine) {
             for (nlohmann::json& system : machine["wmi"]["Win32_ComputerSystem"]) {
                 system["Model"] = {{"fault", "0x80041003"}};
             }
         },
         {"FetchMakeModelTest"}},
    };
    ExpectOnlyChanged(WithoutItsFaults, cases);
}

}  // namespace
