// The OS description as a decision over what Windows reported: one row per branch of the tree
// and per edge case (editions by product type, the 5.2 server family, 2000 and XP editions,
// systems that get no description).

#include "support/ScopedMachine.h"
#include "platform/OsDescription.h"

#include "winapi/simulated/SimulatedMachine.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace winapi;

constexpr WORD Intel = PROCESSOR_ARCHITECTURE_INTEL;
constexpr WORD Ia64 = PROCESSOR_ARCHITECTURE_IA64;
constexpr WORD Amd64 = PROCESSOR_ARCHITECTURE_AMD64;
constexpr BYTE Workstation = VER_NT_WORKSTATION;
constexpr BYTE Server = VER_NT_SERVER;

struct Row {
    const char* name;
    DWORD major;
    DWORD minor;
    DWORD build;
    const wchar_t* servicePack;
    WORD suiteMask;
    BYTE productType;
    WORD architecture;
    std::optional<DWORD> productInfo;
    bool serverR2;
    const wchar_t* expected;
};

OsFacts Facts(const Row& row, DWORD platformId = VER_PLATFORM_WIN32_NT)
{
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = OSVERSIONINFOEXW_SIZE;
    version.dwMajorVersion = row.major;
    version.dwMinorVersion = row.minor;
    version.dwBuildNumber = row.build;
    version.dwPlatformId = platformId;
    std::wcsncpy(version.szCSDVersion, row.servicePack, std::size(version.szCSDVersion) - 1);
    version.wSuiteMask = row.suiteMask;
    version.wProductType = row.productType;
    return OsFacts{version, row.architecture, row.productInfo, row.serverR2};
}

const Row Rows[] = {
    {"XP Professional SP3",
     5,
     1,
     2600,
     L"Service Pack 3",
     0x100,
     Workstation,
     Intel,
     {},
     false,
     L"Microsoft Windows XP Professional Service Pack 3 (build 2600)"},
    {"XP Home",
     5,
     1,
     2600,
     L"",
     VER_SUITE_PERSONAL | 0x100,
     Workstation,
     Intel,
     {},
     false,
     L"Microsoft Windows XP Home Edition (build 2600)"},
    {"7 Enterprise 64-bit", 6, 1, 7600, L"", 0x100, Workstation, Amd64, 4, false,
     L"Microsoft Windows 7 Enterprise Edition, 64-bit (build 7600)"},
    {"6.1 on a server is still 7", 6, 1, 7601, L"Service Pack 1", 0x110, Server, Amd64, 10, false,
     L"Microsoft Windows 7 Enterprise Edition, 64-bit Service Pack 1 (build 7601)"},
    {"Vista Ultimate 32-bit", 6, 0, 6000, L"", 0x300, Workstation, Intel, 1, false,
     L"Microsoft Windows Vista Ultimate Edition, 32-bit (build 6000)"},
    {"Server 2008 core", 6, 0, 6001, L"Service Pack 1", 0x110, Server, Amd64, 14, false,
     L"Microsoft Windows Server 2008 Enterprise Edition (core installation), 64-bit Service Pack 1 (build 6001)"},
    {"Vista on Itanium gets no word size", 6, 0, 6002, L"", 0, Server, Ia64, 15, false,
     L"Microsoft Windows Server 2008 Enterprise Edition for Itanium-based Systems (build 6002)"},
    {"Vista without GetProductInfo",
     6,
     0,
     6000,
     L"",
     0,
     Workstation,
     Intel,
     {},
     false,
     L"Microsoft Windows Vista , 32-bit (build 6000)"},
    {"6.2 with a product outside the table", 6, 2, 9200, L"", 0, Workstation, Amd64, 48, false,
     L"Microsoft , 64-bit (build 9200)"},
    {"6.2 with a product in the table", 6, 2, 9200, L"", 0, Workstation, Amd64, 1, false,
     L"Microsoft Ultimate Edition, 64-bit (build 9200)"},
    {"product type 0 before the table", 6, 0, 6000, L"", 0, Workstation, Intel, 0, false,
     L"Microsoft Windows Vista , 32-bit (build 6000)"},
    {"product type 18", 6, 0, 6001, L"", 0, Server, Intel, 18, false,
     L"Microsoft Windows Server 2008 Cluster Server Edition, 32-bit (build 6001)"},
    {"product type 19 after it", 6, 0, 6001, L"", 0, Server, Intel, 19, false,
     L"Microsoft Windows Server 2008 , 32-bit (build 6001)"},
    {"product type 5 adds nothing", 6, 0, 6000, L"", 0, Workstation, Intel, 5, false,
     L"Microsoft Windows Vista , 32-bit (build 6000)"},
    {"product type 16 adds nothing", 6, 0, 6000, L"", 0, Workstation, Amd64, 16, false,
     L"Microsoft Windows Vista , 64-bit (build 6000)"},
    {"product types 19 to 24 add nothing", 6, 0, 6001, L"", 0, Server, Intel, 24, false,
     L"Microsoft Windows Server 2008 , 32-bit (build 6001)"},
    {"product type 25", 6, 0, 6001, L"", 0, Server, Amd64, 25, false,
     L"Microsoft Windows Server 2008 Small Business Server Premium Edition, 64-bit (build 6001)"},
    {"product type past the table", 6, 0, 6001, L"", 0, Server, Amd64, 26, false,
     L"Microsoft Windows Server 2008 , 64-bit (build 6001)"},
    {"2003 R2",
     5,
     2,
     3790,
     L"Service Pack 2",
     VER_SUITE_ENTERPRISE,
     Server,
     Intel,
     {},
     true,
     L"Microsoft Windows Server 2003 R2, Enterprise Edition Service Pack 2 (build 3790)"},
    {"Storage Server: the whole mask",
     5,
     2,
     3790,
     L"",
     VER_SUITE_STORAGE_SERVER,
     Server,
     Intel,
     {},
     false,
     L"Microsoft Windows Storage Server 2003Standard Edition (build 3790)"},
    {"Storage bit with others is 2003",
     5,
     2,
     3790,
     L"",
     VER_SUITE_STORAGE_SERVER | VER_SUITE_BLADE,
     Server,
     Intel,
     {},
     false,
     L"Microsoft Windows Server 2003, Web Edition (build 3790)"},
    {"XP Professional x64",
     5,
     2,
     3790,
     L"Service Pack 2",
     0x100,
     Workstation,
     Amd64,
     {},
     false,
     L"Microsoft Windows XP Professional x64 Edition Service Pack 2 (build 3790)"},
    {"2003 on a 32-bit workstation has no edition",
     5,
     2,
     3790,
     L"",
     0,
     Workstation,
     Intel,
     {},
     false,
     L"Microsoft Windows Server 2003,  (build 3790)"},
    {"Itanium Datacenter",
     5,
     2,
     3790,
     L"",
     VER_SUITE_DATACENTER | VER_SUITE_ENTERPRISE,
     Server,
     Ia64,
     {},
     false,
     L"Microsoft Windows Server 2003, Datacenter Edition for Itanium-based Systems (build 3790)"},
    {"Itanium Enterprise",
     5,
     2,
     3790,
     L"",
     VER_SUITE_ENTERPRISE,
     Server,
     Ia64,
     {},
     false,
     L"Microsoft Windows Server 2003, Enterprise Edition for Itanium-based Systems (build 3790)"},
    {"Itanium other",
     5,
     2,
     3790,
     L"",
     VER_SUITE_BLADE,
     Server,
     Ia64,
     {},
     false,
     L"Microsoft Windows Server 2003,  (build 3790)"},
    {"x64 Datacenter",
     5,
     2,
     3790,
     L"",
     VER_SUITE_DATACENTER,
     Server,
     Amd64,
     {},
     false,
     L"Microsoft Windows Server 2003, Datacenter x64 Edition (build 3790)"},
    {"x64 Enterprise",
     5,
     2,
     3790,
     L"",
     VER_SUITE_ENTERPRISE,
     Server,
     Amd64,
     {},
     false,
     L"Microsoft Windows Server 2003, Enterprise x64 Edition (build 3790)"},
    {"x64 Standard",
     5,
     2,
     3790,
     L"",
     0,
     Server,
     Amd64,
     {},
     false,
     L"Microsoft Windows Server 2003, Standard x64 Edition (build 3790)"},
    {"Compute Cluster comes first",
     5,
     2,
     3790,
     L"",
     VER_SUITE_COMPUTE_SERVER | VER_SUITE_DATACENTER,
     Server,
     Intel,
     {},
     false,
     L"Microsoft Windows Server 2003, Compute Cluster Edition (build 3790)"},
    {"32-bit Datacenter",
     5,
     2,
     3790,
     L"",
     VER_SUITE_DATACENTER | VER_SUITE_ENTERPRISE,
     Server,
     Intel,
     {},
     false,
     L"Microsoft Windows Server 2003, Datacenter Edition (build 3790)"},
    {"Web Edition",
     5,
     2,
     3790,
     L"",
     VER_SUITE_BLADE,
     Server,
     Intel,
     {},
     false,
     L"Microsoft Windows Server 2003, Web Edition (build 3790)"},
    {"2000 Professional",
     5,
     0,
     2195,
     L"Service Pack 4",
     VER_SUITE_DATACENTER,
     Workstation,
     Intel,
     {},
     false,
     L"Microsoft Windows 2000 Professional Service Pack 4 (build 2195)"},
    {"2000 Datacenter",
     5,
     0,
     2195,
     L"",
     VER_SUITE_DATACENTER | VER_SUITE_ENTERPRISE,
     Server,
     Intel,
     {},
     false,
     L"Microsoft Windows 2000 Datacenter Server (build 2195)"},
    {"2000 Advanced",
     5,
     0,
     2195,
     L"",
     VER_SUITE_ENTERPRISE,
     VER_NT_DOMAIN_CONTROLLER,
     Intel,
     {},
     false,
     L"Microsoft Windows 2000 Advanced Server (build 2195)"},
    {"2000 Server", 5, 0, 2195, L"", 0, Server, Intel, {}, false, L"Microsoft Windows 2000 Server (build 2195)"},
    {"5.3 has no name", 5, 3, 4000, L"", 0, Workstation, Intel, {}, false, L"Microsoft  (build 4000)"},
    {"major 7 has no name and no edition", 7, 0, 10000, L"Service Pack 1", 0, Workstation, Amd64, 1, false,
     L"Microsoft  Service Pack 1 (build 10000)"},
};

TEST(OsDescriptionTest, EachBranchOfTheTreeGivesItsFragments)
{
    for (const Row& row : Rows) {
        SCOPED_TRACE(row.name);
        std::wstring description;
        EXPECT_TRUE(DescribeOperatingSystem(Facts(row), description));
        EXPECT_EQ(description, row.expected);
    }
}

TEST(OsDescriptionTest, IsAppendedToWhatTheCallerHolds)
{
    std::wstring description = L"OS: ";
    ASSERT_TRUE(DescribeOperatingSystem(Facts(Rows[0]), description));
    EXPECT_EQ(description, L"OS: Microsoft Windows XP Professional Service Pack 3 (build 2600)");
}

TEST(OsDescriptionTest, NoDescriptionBeforeNt5OrWithoutAVersionRecord)
{
    const Row nt4{"NT 4", 4, 0, 1381, L"Service Pack 6", 0, Workstation, Intel, {}, false, L""};
    const Row xp = Rows[0];
    const struct {
        const char* name;
        OsFacts facts;
    } cases[] = {
        {"NT 4", Facts(nt4)},
        {"platform other than NT", Facts(xp, 1)},
        {"no version record", OsFacts{}},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.name);
        std::wstring description = L"unchanged";
        EXPECT_FALSE(DescribeOperatingSystem(refused.facts, description));
        EXPECT_EQ(description, L"unchanged");
    }
}

// The service pack field holds at most 127 characters before its terminator; the build is
// printed with %d, so a build number past the largest int prints negative, as the runtime does.
TEST(OsDescriptionTest, ServicePackAndBuildAtTheirLimits)
{
    const std::wstring fullServicePack(127, L'x');
    const struct {
        const char* name;
        std::wstring servicePack;
        DWORD build;
        std::wstring expected;
    } cases[] = {
        {"service pack of 126 characters", fullServicePack.substr(1), 2600,
         L"Microsoft Windows XP Professional " + fullServicePack.substr(1) + L" (build 2600)"},
        {"service pack filling the field", fullServicePack, 2600,
         L"Microsoft Windows XP Professional " + fullServicePack + L" (build 2600)"},
        {"build 0", L"", 0, L"Microsoft Windows XP Professional (build 0)"},
        {"largest int build", L"", 0x7FFFFFFF, L"Microsoft Windows XP Professional (build 2147483647)"},
        {"one past it", L"", 0x80000000, L"Microsoft Windows XP Professional (build -2147483648)"},
        {"largest build", L"", 0xFFFFFFFF, L"Microsoft Windows XP Professional (build -1)"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        Row xp = Rows[0];
        xp.servicePack = row.servicePack.c_str();
        xp.build = row.build;
        std::wstring description;
        ASSERT_TRUE(DescribeOperatingSystem(Facts(xp), description));
        EXPECT_EQ(description, row.expected);
    }
}

// The reader asks GetProductInfo on version 6 and SM_SERVERR2 on 5.2 only, and nothing beyond the
// processor of a system that is not NT, which gets no description.
TEST(OsDescriptionTest, ReaderAsksOnlyWhatTheDescriptionUses)
{
    const auto read = [](int platformId, int major, int minor) {
        const std::string profile = "{\"version\": {\"platformId\": " + std::to_string(platformId) +
                                    ", \"major\": " + std::to_string(major) + ", \"minor\": " + std::to_string(minor) +
                                    "}, \"processorArchitecture\": \"AMD64\", \"kernel32Functions\": "
                                    "[\"GetNativeSystemInfo\", \"GetProductInfo\"], \"productInfoType\": 1, "
                                    "\"serverR2\": true}";
        const ScopedMachine machine(profile);
        return ReadOsFacts();
    };
    const struct {
        const char* name;
        int platformId;
        int major;
        int minor;
        bool productType;
        bool serverR2;
    } cases[] = {
        {"Vista", 2, 6, 0, true, false},
        {"2003 R2", 2, 5, 2, false, true},
        {"XP", 2, 5, 1, false, false},
        {"6.0 on another platform", 1, 6, 0, false, false},
        {"5.2 on another platform", 1, 5, 2, false, false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const OsFacts facts = read(row.platformId, row.major, row.minor);
        ASSERT_TRUE(facts.version);
        EXPECT_EQ(facts.processorArchitecture, Amd64);
        EXPECT_EQ(facts.productType.has_value(), row.productType);
        EXPECT_EQ(facts.serverR2, row.serverR2);
    }
}

}  // namespace
