#include "framework/TestRegistry.h"

#include "framework/TraceLog.h"
#include "platform/Console.h"
#include "platform/WideText.h"
#include "checks/device/BlacklistUSBDeviceTest.h"
#include "checks/device/DesktopAndPS2MouseTest.h"
#include "checks/device/LaptopTest.h"
#include "checks/device/WhitelistUSBDeviceTest.h"
#include "checks/disk/CompressedRootTest.h"
#include "checks/disk/ContiguousFreeHardDiskSpaceTest.h"
#include "checks/disk/DiskLimitTest.h"
#include "checks/disk/DiskSizeLimitTest.h"
#include "checks/disk/DualBootTest.h"
#include "checks/disk/DynamicVolumeTest.h"
#include "checks/disk/FreeHardDiskSpaceTest.h"
#include "checks/disk/HiddenVolumeTest.h"
#include "checks/disk/RaidTest.h"
#include "checks/disk/ReadyBoostTest.h"
#include "checks/disk/ReadyDriveTest.h"
#include "checks/disk/RecoveryTest.h"
#include "checks/disk/SystemDriveAccessibleByLetterDriveTest.h"
#include "checks/disk/UnformattedPartitionTest.h"
#include "checks/disk/VolumeLimitTest.h"
#include "checks/disk/VolumeMountPointTest.h"
#include "checks/identity/BlacklistBiosTest.h"
#include "checks/identity/BlacklistMotherboardTest.h"
#include "checks/identity/BlacklistProcessorTest.h"
#include "checks/identity/FetchMakeModelTest.h"
#include "checks/identity/LegacyUSBTest.h"
#include "checks/identity/WhitelistBiosTest.h"
#include "checks/identity/WhitelistMotherboardTest.h"
#include "checks/identity/WhitelistProcessorTest.h"
#include "checks/system/AdministratorTest.h"
#include "checks/system/BitLockerTest.h"
#include "checks/system/BitsAdminTest.h"
#include "checks/system/BlacklistServiceTest.h"
#include "checks/system/MSSecurityEssentialsTest.h"
#include "checks/system/MSXML3Test.h"
#include "checks/system/MemoryTest.h"
#include "checks/system/NETFrameworkTest.h"
#include "checks/system/OSTest.h"
#include "checks/system/QuillonInstallationTest.h"

#include <array>
#include <string_view>

namespace {

constexpr std::string_view AllocatingMessage = "[TARNWICK] Attempting to allocate a test with name %wS\n";
constexpr std::string_view NoMatchMessage = "[TARNWICK] Couldn't find a matching Test\n";

using Factory = std::unique_ptr<Test> (*)(const std::vector<std::wstring>&);

template <typename TestClass>
std::unique_ptr<Test> Make(const std::vector<std::wstring>& parameters)
{
    return std::make_unique<TestClass>(parameters);
}

struct RegistryEntry {
    std::wstring_view name;
    // Null while the check behind the name is not part of this build: the name then counts as
    // unknown.
    Factory create;
};

// The names in the order they are compared; the first equal one wins.
constexpr std::array<RegistryEntry, 38> Registry{{
    {L"AdministratorTest", &Make<AdministratorTest>},
    {L"BlacklistMotherboardTest", &Make<BlacklistMotherboardTest>},
    {L"BitsAdminTest", &Make<BitsAdminTest>},
    {L"BlacklistProcessorTest", &Make<BlacklistProcessorTest>},
    {L"BlacklistServiceTest", &Make<BlacklistServiceTest>},
    {L"BlacklistUSBDeviceTest", &Make<BlacklistUSBDeviceTest>},
    {L"BlacklistBiosTest", &Make<BlacklistBiosTest>},
    {L"BitLockerTest", &Make<BitLockerTest>},
    {L"CompressedRootTest", &Make<CompressedRootTest>},
    {L"ContiguousFreeHardDiskSpaceTest", &Make<ContiguousFreeHardDiskSpaceTest>},
    {L"DiskLimitTest", &Make<DiskLimitTest>},
    {L"DiskSizeLimitTest", &Make<DiskSizeLimitTest>},
    {L"DualBootTest", &Make<DualBootTest>},
    {L"DynamicVolumeTest", &Make<DynamicVolumeTest>},
    {L"FreeHardDiskSpaceTest", &Make<FreeHardDiskSpaceTest>},
    {L"HiddenVolumeTest", &Make<HiddenVolumeTest>},
    {L"LaptopTest", &Make<LaptopTest>},
    {L"DesktopAndPS2MouseTest", &Make<DesktopAndPS2MouseTest>},
    {L"LegacyUSBTest", &Make<LegacyUSBTest>},
    {L"MemoryTest", &Make<MemoryTest>},
    {L"MSXML3Test", &Make<MSXML3Test>},
    {L"NETFrameworkTest", &Make<NETFrameworkTest>},
    {L"QuillonInstallationTest", &Make<QuillonInstallationTest>},
    {L"OSTest", &Make<OSTest>},
    {L"ReadyBoostTest", &Make<ReadyBoostTest>},
    {L"ReadyDriveTest", &Make<ReadyDriveTest>},
    {L"RecoveryTest", &Make<RecoveryTest>},
    {L"SystemDriveAccessibleByLetterDriveTest", &Make<SystemDriveAccessibleByLetterDriveTest>},
    {L"UnformattedPartitionTest", &Make<UnformattedPartitionTest>},
    {L"VolumeLimitTest", &Make<VolumeLimitTest>},
    {L"VolumeMountPointTest", &Make<VolumeMountPointTest>},
    {L"WhitelistBiosTest", &Make<WhitelistBiosTest>},
    {L"WhitelistMotherboardTest", &Make<WhitelistMotherboardTest>},
    {L"WhitelistProcessorTest", &Make<WhitelistProcessorTest>},
    {L"WhitelistUSBDeviceTest", &Make<WhitelistUSBDeviceTest>},
    {L"RaidTest", &Make<RaidTest>},
    {L"FetchMakeModelTest", &Make<FetchMakeModelTest>},
    {L"MSSecurityEssentialsInstalledTest", &Make<MSSecurityEssentialsTest>},
}};

}  // namespace

std::unique_ptr<Test> CreateTest(const std::wstring& name, const std::vector<std::wstring>& parameters)
{
    ConsolePrintf("%wS\n", name);
    TraceLog(AllocatingMessage, name);
    for (const RegistryEntry& entry : Registry) {
        if (EqualIgnoringCase(name, entry.name)) {
            if (entry.create == nullptr) {
                break;
            }
            return entry.create(parameters);
        }
    }
    TraceLog(NoMatchMessage);
    return nullptr;
}

std::vector<std::wstring_view> RegisteredTestNames()
{
    std::vector<std::wstring_view> names;
    for (const RegistryEntry& entry : Registry) {
        if (entry.create != nullptr) {
            names.push_back(entry.name);
        }
    }
    return names;
}
