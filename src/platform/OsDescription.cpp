#include "platform/OsDescription.h"

#include "platform/LaterWindowsFunctions.h"
#include "platform/MessageFormat.h"
#include "winapi/SystemInfo.h"
#include "winapi/Win32.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace {

using winapi::DWORD;
using winapi::OSVERSIONINFOEXW;
using winapi::WORD;

// Edition texts by the product type GetProductInfo returns; empty entries add nothing.
constexpr std::array<std::wstring_view, 26> ProductEditions{
    L"",
    L"Ultimate Edition",
    L"Home Basic Edition",
    L"Home Premium Edition",
    L"Enterprise Edition",
    L"",
    L"Business Edition",
    L"Standard Edition",
    L"Datacenter Edition",
    L"Small Business Server",
    L"Enterprise Edition",
    L"Starter Edition",
    L"Datacenter Edition (core installation)",
    L"Standard Edition (core installation)",
    L"Enterprise Edition (core installation)",
    L"Enterprise Edition for Itanium-based Systems",
    L"",
    L"Web Server Edition",
    L"Cluster Server Edition",
    L"",
    L"",
    L"",
    L"",
    L"",
    L"",
    L"Small Business Server Premium Edition",
};

bool Has(WORD suiteMask, WORD bit)
{
    return (suiteMask & bit) != 0;
}

void AppendVersion6(const OsFacts& facts, std::wstring& description)
{
    const OSVERSIONINFOEXW& version = *facts.version;
    if (version.dwMinorVersion == 0) {
        description += version.wProductType == winapi::VER_NT_WORKSTATION ? L"Windows Vista " : L"Windows Server 2008 ";
    } else if (version.dwMinorVersion == 1) {
        description += L"Windows 7 ";
    }
    if (facts.productType && *facts.productType < ProductEditions.size()) {
        description += ProductEditions[*facts.productType];
    }
    if (facts.processorArchitecture == winapi::PROCESSOR_ARCHITECTURE_AMD64) {
        description += L", 64-bit";
    } else if (facts.processorArchitecture == winapi::PROCESSOR_ARCHITECTURE_INTEL) {
        description += L", 32-bit";
    }
}

std::wstring_view ServerEdition(WORD architecture, WORD suiteMask)
{
    using namespace winapi;
    if (architecture == PROCESSOR_ARCHITECTURE_IA64) {
        if (Has(suiteMask, VER_SUITE_DATACENTER)) {
            return L"Datacenter Edition for Itanium-based Systems";
        }
        return Has(suiteMask, VER_SUITE_ENTERPRISE) ? L"Enterprise Edition for Itanium-based Systems" : L"";
    }
    if (architecture == PROCESSOR_ARCHITECTURE_AMD64) {
        if (Has(suiteMask, VER_SUITE_DATACENTER)) {
            return L"Datacenter x64 Edition";
        }
        return Has(suiteMask, VER_SUITE_ENTERPRISE) ? L"Enterprise x64 Edition" : L"Standard x64 Edition";
    }
    if (Has(suiteMask, VER_SUITE_COMPUTE_SERVER)) {
        return L"Compute Cluster Edition";
    }
    if (Has(suiteMask, VER_SUITE_DATACENTER)) {
        return L"Datacenter Edition";
    }
    if (Has(suiteMask, VER_SUITE_ENTERPRISE)) {
        return L"Enterprise Edition";
    }
    return Has(suiteMask, VER_SUITE_BLADE) ? L"Web Edition" : L"Standard Edition";
}

void AppendVersion52(const OsFacts& facts, std::wstring& description)
{
    const OSVERSIONINFOEXW& version = *facts.version;
    const bool workstation = version.wProductType == winapi::VER_NT_WORKSTATION;
    if (facts.serverR2) {
        description += L"Windows Server 2003 R2, ";
    } else if (version.wSuiteMask == winapi::VER_SUITE_STORAGE_SERVER) {
        // The whole mask, not the bit: a storage server with any other suite is named as 2003.
        description += L"Windows Storage Server 2003";
    } else if (workstation && facts.processorArchitecture == winapi::PROCESSOR_ARCHITECTURE_AMD64) {
        description += L"Windows XP Professional x64 Edition";
    } else {
        description += L"Windows Server 2003, ";
    }
    if (!workstation) {
        description += ServerEdition(facts.processorArchitecture, version.wSuiteMask);
    }
}

void AppendVersion5(const OSVERSIONINFOEXW& version, std::wstring& description)
{
    if (version.dwMinorVersion == 1) {
        description += L"Windows XP ";
        description += Has(version.wSuiteMask, winapi::VER_SUITE_PERSONAL) ? L"Home Edition" : L"Professional";
    } else if (version.dwMinorVersion == 0) {
        description += L"Windows 2000 ";
        if (version.wProductType == winapi::VER_NT_WORKSTATION) {
            description += L"Professional";
        } else if (Has(version.wSuiteMask, winapi::VER_SUITE_DATACENTER)) {
            description += L"Datacenter Server";
        } else if (Has(version.wSuiteMask, winapi::VER_SUITE_ENTERPRISE)) {
            description += L"Advanced Server";
        } else {
            description += L"Server";
        }
    }
}

}  // namespace

OsFacts ReadOsFacts()
{
    OsFacts facts;
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = winapi::OSVERSIONINFOEXW_SIZE;
    if (!winapi::GetVersionExW(version)) {
        return facts;
    }
    facts.version = version;
    facts.processorArchitecture = ReadProcessorArchitecture();
    // A system other than NT gets no description, so nothing more is asked of it.
    if (version.dwPlatformId != winapi::VER_PLATFORM_WIN32_NT) {
        return facts;
    }
    if (version.dwMajorVersion == 6) {
        DWORD productType = 0;
        if (ReadProductType(productType)) {
            facts.productType = productType;
        }
    }
    if (version.dwMajorVersion == 5 && version.dwMinorVersion == 2) {
        facts.serverR2 = winapi::GetSystemMetrics(winapi::SM_SERVERR2) != 0;
    }
    return facts;
}

bool DescribeOperatingSystem(const OsFacts& facts, std::wstring& description)
{
    if (!facts.version) {
        return false;
    }
    const OSVERSIONINFOEXW& version = *facts.version;
    if (version.dwPlatformId != winapi::VER_PLATFORM_WIN32_NT || version.dwMajorVersion <= 4) {
        return false;
    }
    std::wstring text = L"Microsoft ";
    if (version.dwMajorVersion == 6) {
        AppendVersion6(facts, text);
    } else if (version.dwMajorVersion == 5 && version.dwMinorVersion == 2) {
        AppendVersion52(facts, text);
    } else if (version.dwMajorVersion == 5) {
        AppendVersion5(version, text);
    }
    const wchar_t* const csdEnd = std::find(std::begin(version.szCSDVersion), std::end(version.szCSDVersion), L'\0');
    const std::wstring servicePack(std::begin(version.szCSDVersion), csdEnd);
    if (!servicePack.empty()) {
        text += L' ';
        text += servicePack;
    }
    // The service pack text (at most 127 characters) and the build fit the 256-character
    // buffers of the fragments, so nothing is ever cut.
    text += FormatLine(L" (build %d)", static_cast<int>(version.dwBuildNumber));
    description += text;
    return true;
}

bool DescribeOperatingSystem(std::wstring& description)
{
    return DescribeOperatingSystem(ReadOsFacts(), description);
}
