// The decisions of the checks that go by the Windows version (operating system, memory, BitLocker,
// ReadyBoost and ReadyDrive), from tables of version records: each version limit has a row on it
// and one on each side.

#include "checks/disk/ReadyFeatures.h"
#include "checks/system/BitLockerTest.h"
#include "checks/system/MemoryTest.h"
#include "checks/system/OSTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace winapi;

constexpr DWORD Nt = VER_PLATFORM_WIN32_NT;
constexpr DWORD Windows9x = 1;
constexpr BYTE Workstation = VER_NT_WORKSTATION;
constexpr BYTE Server = VER_NT_SERVER;

OSVERSIONINFOW Version(DWORD platformId, DWORD major, DWORD minor)
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = OSVERSIONINFOW_SIZE;
    version.dwPlatformId = platformId;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    return version;
}

OSVERSIONINFOEXW VersionEx(DWORD platformId, DWORD major, DWORD minor, BYTE productType)
{
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = OSVERSIONINFOEXW_SIZE;
    version.dwPlatformId = platformId;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    version.wProductType = productType;
    return version;
}

struct MemoryRow {
    const char* what;
    DWORD platformId;
    DWORD major;
    DWORD minor;
    std::optional<std::uint32_t> neededMB;
};

TEST(SystemCheckRulesTest, MemoryNeededFollowsTheWindowsVersion)
{
    const std::vector<MemoryRow> rows{
        {"NT 4.0", Nt, 4, 0, std::nullopt},
        {"NT 4.9", Nt, 4, 9, std::nullopt},
        {"2000", Nt, 5, 0, 64},
        {"XP", Nt, 5, 1, 128},
        {"2003", Nt, 5, 2, 128},
        {"5.3", Nt, 5, 3, std::nullopt},
        {"Vista", Nt, 6, 0, 512},
        {"7", Nt, 6, 1, 512},
        {"6.2", Nt, 6, 2, 512},
        {"6.x whatever the minor", Nt, 6, 0xFFFFFFFF, 512},
        {"7.0", Nt, 7, 0, std::nullopt},
        {"10.0", Nt, 10, 0, std::nullopt},
        {"XP numbers on Windows 9x", Windows9x, 5, 1, std::nullopt},
        {"Vista numbers on Windows 9x", Windows9x, 6, 0, std::nullopt},
        {"Vista numbers on platform 3", 3, 6, 0, std::nullopt},
        {"Vista numbers on platform 0", 0, 6, 0, std::nullopt},
    };
    for (const MemoryRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(MemoryNeededByVersion(Version(row.platformId, row.major, row.minor)), row.neededMB);
    }
}

struct BitLockerRow {
    const char* what;
    OSVERSIONINFOEXW version;
    bool editionDecides;
    std::optional<DWORD> productType;
    bool includes;
};

TEST(SystemCheckRulesTest, BitLockerComesWithVistaServersUltimateAndEnterprise)
{
    const OSVERSIONINFOEXW vista = VersionEx(Nt, 6, 0, Workstation);
    const OSVERSIONINFOEXW server2008 = VersionEx(Nt, 6, 0, Server);
    const OSVERSIONINFOEXW domainController = VersionEx(Nt, 6, 0, VER_NT_DOMAIN_CONTROLLER);
    const std::vector<BitLockerRow> rows{
        {"Vista without a product type", vista, true, std::nullopt, false},
        {"Vista product 0", vista, true, 0, false},
        {"Vista Ultimate (1)", vista, true, 1, true},
        {"Vista Home Basic (2)", vista, true, 2, false},
        {"Vista Home Premium (3)", vista, true, 3, false},
        {"Vista Enterprise (4)", vista, true, 4, true},
        {"Vista product 5", vista, true, 5, false},
        {"Vista Business (6)", vista, true, 6, false},
        {"Vista Enterprise N (27) is not Enterprise", vista, true, 27, false},
        {"Server 2008 without a product type", server2008, false, std::nullopt, true},
        {"Server 2008 whatever its product", server2008, false, 7, true},
        {"domain controller of 6.0", domainController, false, std::nullopt, true},
        {"XP", VersionEx(Nt, 5, 1, Workstation), false, std::nullopt, false},
        {"2003 server", VersionEx(Nt, 5, 2, Server), false, std::nullopt, false},
        {"7 Ultimate", VersionEx(Nt, 6, 1, Workstation), false, 1, false},
        {"2008 R2", VersionEx(Nt, 6, 1, Server), false, std::nullopt, false},
        {"7.0 Ultimate", VersionEx(Nt, 7, 0, Workstation), false, 1, false},
        {"6.0 numbers on Windows 9x", VersionEx(Windows9x, 6, 0, Workstation), false, 1, false},
        {"6.0 server numbers on Windows 9x", VersionEx(Windows9x, 6, 0, Server), false, std::nullopt, false},
    };
    for (const BitLockerRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(EditionDecidesBitLocker(row.version), row.editionDecides);
        EXPECT_EQ(IncludesBitLocker(row.version, row.productType), row.includes);
    }
}

struct ReadyFeaturesRow {
    const char* what;
    OSVERSIONINFOEXW version;
    bool has;
};

TEST(SystemCheckRulesTest, ReadyBoostAndReadyDriveComeWithTheVistaWorkstationOnly)
{
    const std::vector<ReadyFeaturesRow> rows{
        {"Vista", VersionEx(Nt, 6, 0, Workstation), true},
        {"Server 2008", VersionEx(Nt, 6, 0, Server), false},
        {"domain controller of 6.0", VersionEx(Nt, 6, 0, VER_NT_DOMAIN_CONTROLLER), false},
        {"product type 0 is no workstation", VersionEx(Nt, 6, 0, 0), false},
        {"XP x64 (5.2)", VersionEx(Nt, 5, 2, Workstation), false},
        {"7 (6.1)", VersionEx(Nt, 6, 1, Workstation), false},
        {"5.0", VersionEx(Nt, 5, 0, Workstation), false},
        {"7.0", VersionEx(Nt, 7, 0, Workstation), false},
        {"6.0 numbers on Windows 9x", VersionEx(Windows9x, 6, 0, Workstation), false},
    };
    for (const ReadyFeaturesRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(HasReadyFeatures(row.version), row.has);
    }
}

struct AllowedRow {
    const char* what;
    std::vector<std::wstring> allowed;
    bool found;
};

TEST(SystemCheckRulesTest, AnAllowedNameAnywhereInTheDescriptionAllowsTheSystem)
{
    const std::wstring description = L"Microsoft Windows XP Professional Service Pack 3 (build 2600)";
    const std::vector<AllowedRow> rows{
        {"the default name", {L"Windows XP"}, true},
        {"letter case counts", {L"windows xp"}, false},
        {"no trimming", {L"\tWindows XP"}, false},
        {"at the very start", {L"Microsoft"}, true},
        {"at the very end", {L"2600)"}, true},
        {"the whole description", {description}, true},
        {"one character longer than the description", {description + L" "}, false},
        {"the second entry matches", {L"Windows 7", L"Windows XP"}, true},
        {"none matches", {L"Windows 7", L"Windows Vista"}, false},
        {"an empty entry matches", {L""}, true},
        {"no entries", {}, false},
    };
    for (const AllowedRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(IsAllowedSystem(description, row.allowed), row.found);
    }
    EXPECT_TRUE(IsAllowedSystem(L"", {L""}));
    EXPECT_FALSE(IsAllowedSystem(L"", {L"Windows XP"}));
}

}  // namespace
