#include "framework/TestRegistry.h"

#include "framework/TraceLog.h"
#include "platform/Console.h"
#include "platform/WideText.h"
#include "tests/device/BlacklistUSBDeviceTest.h"
#include "tests/device/DesktopAndPS2MouseTest.h"
#include "tests/device/LaptopTest.h"
#include "tests/device/WhitelistUSBDeviceTest.h"
#include "tests/disk/CompressedRootTest.h"
#include "tests/disk/ContiguousFreeHardDiskSpaceTest.h"
#include "tests/disk/DiskLimitTest.h"
#include "tests/disk/DiskSizeLimitTest.h"
#include "tests/disk/DualBootTest.h"
#include "tests/disk/DynamicVolumeTest.h"
#include "tests/disk/FreeHardDiskSpaceTest.h"
#include "tests/disk/HiddenVolumeTest.h"
#include "tests/disk/RaidTest.h"
#include "tests/disk/ReadyBoostTest.h"
#include "tests/disk/ReadyDriveTest.h"
#include "tests/disk/RecoveryTest.h"
#include "tests/disk/SystemDriveAccessibleByLetterDriveTest.h"
#include "tests/disk/UnformattedPartitionTest.h"
#include "tests/disk/VolumeLimitTest.h"
#include "tests/disk/VolumeMountPointTest.h"
#include "tests/identity/BlacklistBiosTest.h"
#include "tests/identity/BlacklistMotherboardTest.h"
#include "tests/identity/BlacklistProcessorTest.h"
#include "tests/identity/FetchMakeModelTest.h"
#include "tests/identity/LegacyUSBTest.h"
#include "tests/identity/WhitelistBiosTest.h"
#include "tests/identity/WhitelistMotherboardTest.h"
#include "tests/identity/WhitelistProcessorTest.h"
#include "tests/system/AdministratorTest.h"
#include "tests/system/BitLockerTest.h"
#include "tests/system/BitsAdminTest.h"
#include "tests/system/BlacklistServiceTest.h"
#include "tests/system/MSSecurityEssentialsTest.h"
#include "tests/system/MSXML3Test.h"
#include "tests/system/MemoryTest.h"
#include "tests/system/NETFrameworkTest.h"
#include "tests/system/OSTest.h"
#include "tests/system/QuillonInstallationTest.h"

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
