#include "framework/TestRegistry.h"

#include "framework/TraceLog.h"
#include "platform/Console.h"
#include "platform/WideText.h"
#include "tests/device/BlacklistUSBDeviceTest.h"
#include "tests/device/DesktopAndPS2MouseTest.h"
#include "tests/device/LaptopTest.h"
#include "tests/device/WhitelistUSBDeviceTest.h"
#include "tests/disk/ContiguousFreeHardDiskSpaceTest.h"
#include "tests/disk/FreeHardDiskSpaceTest.h"
#include "tests/disk/ReadyBoostTest.h"
#include "tests/disk/ReadyDriveTest.h"
#include "tests/disk/SystemDriveAccessibleByLetterDriveTest.h"
#include "tests/identity/BlacklistBiosTest.h"
#include "tests/identity/BlacklistMotherboardTest.h"
#include "tests/identity/BlacklistProcessorTest.h"
#include "tests/identity/WhitelistBiosTest.h"
#include "tests/identity/WhitelistMotherboardTest.h"
#include "tests/identity/WhitelistProcessorTest.h"
#include "tests/system/MSSecurityEssentialsTest.h"
#include "tests/system/MSXML3Test.h"

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
    {L"AdministratorTest", nullptr},
    {L"BlacklistMotherboardTest", &Make<BlacklistMotherboardTest>},
    {L"BitsAdminTest", nullptr},
    {L"BlacklistProcessorTest", &Make<BlacklistProcessorTest>},
    {L"BlacklistServiceTest", nullptr},
    {L"BlacklistUSBDeviceTest", &Make<BlacklistUSBDeviceTest>},
    {L"BlacklistBiosTest", &Make<BlacklistBiosTest>},
    {L"BitLockerTest", nullptr},
    {L"CompressedRootTest", nullptr},
    {L"ContiguousFreeHardDiskSpaceTest", &Make<ContiguousFreeHardDiskSpaceTest>},
    {L"DiskLimitTest", nullptr},
    {L"DiskSizeLimitTest", nullptr},
    {L"DualBootTest", nullptr},
    {L"DynamicVolumeTest", nullptr},
    {L"FreeHardDiskSpaceTest", &Make<FreeHardDiskSpaceTest>},
    {L"HiddenVolumeTest", nullptr},
    {L"LaptopTest", &Make<LaptopTest>},
    {L"DesktopAndPS2MouseTest", &Make<DesktopAndPS2MouseTest>},
    {L"LegacyUSBTest", nullptr},
    {L"MemoryTest", nullptr},
    {L"MSXML3Test", &Make<MSXML3Test>},
    {L"NETFrameworkTest", nullptr},
    {L"QuillonInstallationTest", nullptr},
    {L"OSTest", nullptr},
    {L"ReadyBoostTest", &Make<ReadyBoostTest>},
    {L"ReadyDriveTest", &Make<ReadyDriveTest>},
    {L"RecoveryTest", nullptr},
    {L"SystemDriveAccessibleByLetterDriveTest", &Make<SystemDriveAccessibleByLetterDriveTest>},
    {L"UnformattedPartitionTest", nullptr},
    {L"VolumeLimitTest", nullptr},
    {L"VolumeMountPointTest", nullptr},
    {L"WhitelistBiosTest", &Make<WhitelistBiosTest>},
    {L"WhitelistMotherboardTest", &Make<WhitelistMotherboardTest>},
    {L"WhitelistProcessorTest", &Make<WhitelistProcessorTest>},
    {L"WhitelistUSBDeviceTest", &Make<WhitelistUSBDeviceTest>},
    {L"RaidTest", nullptr},
    {L"FetchMakeModelTest", nullptr},
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
