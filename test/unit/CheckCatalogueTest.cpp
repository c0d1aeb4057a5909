// The catalogue of the checks against the registry and the checks' own reading of their
// parameters: neither may say something the catalogue does not. (The reference, docs/checks.md,
// is written from the catalogue; the ctest CheckReference holds it to it.)

#include "checks/disk/ContiguousFreeHardDiskSpaceTest.h"
#include "checks/disk/FreeHardDiskSpaceTest.h"
#include "checks/system/MemoryTest.h"
#include "framework/CheckCatalogue.h"
#include "framework/TestRegistry.h"
#include "winapi/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace {

TEST(CheckCatalogueTest, TheRegistryComparesTheThirtyEightNamesInItsFixedOrder)
{
    const std::vector<std::wstring_view> order{L"AdministratorTest",
                                               L"BlacklistMotherboardTest",
                                               L"BitsAdminTest",
                                               L"BlacklistProcessorTest",
                                               L"BlacklistServiceTest",
                                               L"BlacklistUSBDeviceTest",
                                               L"BlacklistBiosTest",
                                               L"BitLockerTest",
                                               L"CompressedRootTest",
                                               L"ContiguousFreeHardDiskSpaceTest",
                                               L"DiskLimitTest",
                                               L"DiskSizeLimitTest",
                                               L"DualBootTest",
                                               L"DynamicVolumeTest",
                                               L"FreeHardDiskSpaceTest",
                                               L"HiddenVolumeTest",
                                               L"LaptopTest",
                                               L"DesktopAndPS2MouseTest",
                                               L"LegacyUSBTest",
                                               L"MemoryTest",
                                               L"MSXML3Test",
                                               L"NETFrameworkTest",
                                               L"QuillonInstallationTest",
                                               L"OSTest",
                                               L"ReadyBoostTest",
                                               L"ReadyDriveTest",
                                               L"RecoveryTest",
                                               L"SystemDriveAccessibleByLetterDriveTest",
                                               L"UnformattedPartitionTest",
                                               L"VolumeLimitTest",
                                               L"VolumeMountPointTest",
                                               L"WhitelistBiosTest",
                                               L"WhitelistMotherboardTest",
                                               L"WhitelistProcessorTest",
                                               L"WhitelistUSBDeviceTest",
                                               L"RaidTest",
                                               L"FetchMakeModelTest",
                                               L"MSSecurityEssentialsInstalledTest"};
    EXPECT_EQ(RegisteredTestNames(), order);
    EXPECT_EQ(CheckCatalogue().size(), order.size());
}

TEST(CheckCatalogueTest, EveryRowCreatesTheClassOfItsResultName)
{
    for (const CheckEntry& entry : CheckCatalogue()) {
        SCOPED_TRACE(winapi::ToUtf8(entry.inputName));
        EXPECT_EQ(FindCheck(entry.inputName), &entry);
        // The registry echoes and traces every name it is asked for.
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const std::unique_ptr<::Test> test = CreateTest(std::wstring(entry.inputName), {});
        const std::string console = testing::internal::GetCapturedStdout();
        const std::string trace = testing::internal::GetCapturedStderr();
        ASSERT_NE(test, nullptr);
        EXPECT_EQ(test->GetName(), entry.resultName);
        EXPECT_EQ(console, winapi::ToUtf8(entry.inputName) + "\n");
        EXPECT_EQ(trace,
                  "[TARNWICK] Attempting to allocate a test with name " + winapi::ToUtf8(entry.inputName) + "\n");
        EXPECT_EQ(entry.megabytes.has_value(), entry.parameters == ParameterRule::Megabytes);
        EXPECT_EQ(entry.unit.empty(), entry.parameters != ParameterRule::Megabytes);
    }
}

TEST(CheckCatalogueTest, AnUnknownNameIsEchoedTracedAndCreatesNothing)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(CreateTest(L"MSSecurityEssentialsTest", {}), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "MSSecurityEssentialsTest\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[TARNWICK] Attempting to allocate a test with name MSSecurityEssentialsTest\n"
              "[TARNWICK] Couldn't find a matching Test\n");
    EXPECT_NE(FindCheck(L"LAPTOPTEST"), nullptr);
}

TEST(CheckCatalogueTest, ListsTheChecksInReferenceOrderOfAreas)
{
    EXPECT_TRUE(std::ranges::is_sorted(CheckCatalogue(), {}, &CheckEntry::area));
}

TEST(CheckCatalogueTest, ResultNamesAreFoundOnlyByTheirExactSpelling)
{
    ASSERT_NE(FindCheckByResultName(L"MSSecurityEssentialsTest"), nullptr);
    EXPECT_EQ(FindCheckByResultName(L"MSSecurityEssentialsTest")->inputName, L"MSSecurityEssentialsInstalledTest");
    EXPECT_EQ(FindCheck(L"MSSecurityEssentialsTest"), nullptr);
    EXPECT_NE(FindCheck(L"laptoptest"), nullptr);
    EXPECT_EQ(FindCheck(L"LaptopTest "), nullptr);
}

// One parameter text and the megabytes a check stores from it; nothing when the setting stays.
struct MegabyteCase {
    std::vector<std::wstring> parameters;
    std::optional<int> stored;
};

TEST(CheckCatalogueTest, MegabyteRulesAreWhatEachCheckReads)
{
    const std::vector<MegabyteCase> cases{
        {{L"2 GB"}, 2},
        {{L"2,048"}, 2},
        {{L"2.048"}, 2},
        {{L"-500"}, std::nullopt},
        {{L"99999999999"}, std::nullopt},
        {{L""}, std::nullopt},
        {{L"GB 2"}, std::nullopt},
        {{L"\n    512\n  "}, 512},
        {{L"0"}, std::nullopt},
        {{L"1"}, 1},
        {{L"2147483646"}, 2147483646},
        {{L"2147483647"}, std::nullopt},
        {{L"2147483648"}, std::nullopt},
        {{L"-2147483649"}, std::nullopt},
        {{L"512", L"1024"}, std::nullopt},
        {{}, std::nullopt},
    };
    // How each megabyte check is built from a document's parameters, outside the catalogue.
    const std::map<std::wstring_view, std::function<void(const std::vector<std::wstring>&)>> construct{
        {L"FreeHardDiskSpaceTest", [](const auto& list) { FreeHardDiskSpaceTest check(list); }},
        {L"ContiguousFreeHardDiskSpaceTest", [](const auto& list) { ContiguousFreeHardDiskSpaceTest check(list); }},
        {L"MemoryTest", [](const auto& list) { MemoryTest check(list); }},
    };
    int checked = 0;
    for (const CheckEntry& entry : CheckCatalogue()) {
        if (entry.parameters != ParameterRule::Megabytes) {
            continue;
        }
        ++checked;
        ASSERT_TRUE(construct.contains(entry.inputName));
        for (const MegabyteCase& row : cases) {
            SCOPED_TRACE(winapi::ToUtf8(entry.inputName) + " with " +
                         (row.parameters.empty() ? "none" : winapi::ToUtf8(row.parameters[0])));
            EXPECT_EQ(MegabytesRead(entry, row.parameters), row.stored);
            *entry.megabytes->setting = entry.megabytes->initial;
            construct.at(entry.inputName)(row.parameters);
            EXPECT_EQ(*entry.megabytes->setting, row.stored.value_or(entry.megabytes->initial));
            *entry.megabytes->setting = entry.megabytes->initial;
        }
    }
    EXPECT_EQ(checked, 3);
}

}  // namespace
