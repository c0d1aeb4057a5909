#include "checks/system/MemoryTest.h"

#include "platform/Console.h"
#include "platform/SizeParameter.h"
#include "platform/WideText.h"
#include "platform/WmiQuery.h"
#include "winapi/SystemInfo.h"
#include "winapi/Win32.h"

#include <array>
#include <optional>
#include <string_view>

namespace {

constexpr std::wstring_view NoVersionMessage = L"[MTEST] ERROR: Could not recover OS version information\n";
constexpr std::wstring_view UnsupportedMessage = L"[MTEST] ERROR: Unsupported Operating System\n";
constexpr std::wstring_view NoMemoryMessage = L"[MTEST] ERROR: Could not determine amount of installed memory\n";

constexpr std::string_view InstanceMessage = "got computer system\n";
constexpr std::string_view NextMessage = "interator\n";
constexpr std::string_view PropertyMessage = "got memory\n";

struct MemoryQuery {
    std::wstring_view query;
    std::wstring_view property;
    std::string_view line;
};

constexpr std::array<MemoryQuery, 3> MemoryQueries{{
    {L"SELECT * from Win32_ComputerSystem", L"TotalPhysicalMemory", "TotalPhysicalMemory: %u\n"},
    {L"SELECT * from Win32_OperatingSystem", L"TotalVisibleMemorySize", "TotalVisibleMemorySize: %u\n"},
    {L"SELECT * from Win32_PhysicalMemory", L"Capacity", "Capacity: %u\n"},
}};

// The megabytes each NT version needs; a row without a minor version holds for all of them.
struct VersionNeed {
    winapi::DWORD major;
    std::optional<winapi::DWORD> minor;
    std::uint32_t neededMB;
};

constexpr std::array<VersionNeed, 4> NeedsByVersion{{
    {5, 0, 64},
    {5, 1, 128},
    {5, 2, 128},
    {6, std::nullopt, 512},
}};

// A 64-bit WMI value (delivered as decimal text) in megabytes, as an unsigned 32-bit number;
// absent when the value is not text.
std::optional<std::uint32_t> MegabytesOf(const winapi::Variant& value)
{
    std::wstring text;
    if (winapi::FAILED(value.GetString(text))) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(WideToUInt64(text) >> 20);
}

// Prints the lines of one memory query; E_FAIL when the query fails, otherwise the result of
// its last enumeration step.
winapi::HRESULT ReportQuery(winapi::WbemServices& services, const MemoryQuery& memoryQuery)
{
    std::unique_ptr<winapi::EnumWbemClassObject> enumerator;
    winapi::HRESULT hr = ExecWqlQuery(services, std::wstring(memoryQuery.query), enumerator);
    if (winapi::FAILED(hr)) {
        return winapi::E_FAIL;
    }
    while (enumerator) {
        ConsolePrintf(InstanceMessage);
        std::unique_ptr<winapi::WbemClassObject> object;
        winapi::ULONG returned = 0;
        hr = enumerator->Next(winapi::WBEM_INFINITE, object, returned);
        if (returned == 0 || winapi::FAILED(hr)) {
            break;
        }
        ConsolePrintf(NextMessage);
        winapi::Variant value;
        if (winapi::SUCCEEDED(object->Get(std::wstring(memoryQuery.property), 0, value))) {
            ConsolePrintf(PropertyMessage);
            if (const auto megabytes = MegabytesOf(value)) {
                ConsolePrintf(memoryQuery.line, *megabytes);
            }
        }
    }
    return hr;
}

}  // namespace

MemoryTest::MemoryTest(const std::vector<std::wstring>& parameters) : Test(parameters)
{
    ApplySizeParameter(parameters, memoryNeededMB);
}

bool MemoryTest::Run()
{
    (void)ReportWmiMemory();
    return SetPassed(CheckMemory());
}

winapi::HRESULT MemoryTest::ReportWmiMemory()
{
    // COM is already initialised by the run; the diagnostics go as far as they get, so the
    // results of the set-up calls are not looked at.
    WmiQueryObjects objects;
    (void)InitializeComSecurity();
    (void)CreateWbemLocator(objects.locator);
    if (objects.locator) {
        (void)ConnectCimv2(*objects.locator, objects.services);
    }
    if (!objects.services) {
        return winapi::E_FAIL;
    }
    (void)SetWbemProxyBlanket(*objects.services);
    winapi::HRESULT hr = winapi::S_OK;
    for (const MemoryQuery& memoryQuery : MemoryQueries) {
        hr = ReportQuery(*objects.services, memoryQuery);
    }
    return hr;
}

bool MemoryTest::CheckMemory()
{
    if (memoryNeededMB != -1) {
        return CheckInstalledMemory(static_cast<std::uint32_t>(memoryNeededMB));
    }
    winapi::OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = winapi::OSVERSIONINFOW_SIZE;
    if (!winapi::GetVersionExW(version)) {
        PrintLine(NoVersionMessage);
        return false;
    }
    const auto neededMB = MemoryNeededByVersion(version);
    if (!neededMB) {
        PrintLine(UnsupportedMessage);
        return false;
    }
    return CheckInstalledMemory(*neededMB);
}

std::optional<std::uint32_t> MemoryNeededByVersion(const winapi::OSVERSIONINFOW& version)
{
    if (version.dwPlatformId != winapi::VER_PLATFORM_WIN32_NT) {
        return std::nullopt;
    }
    for (const VersionNeed& row : NeedsByVersion) {
        if (version.dwMajorVersion == row.major && (!row.minor || version.dwMinorVersion == *row.minor)) {
            return row.neededMB;
        }
    }
    return std::nullopt;
}

bool MemoryTest::CheckInstalledMemory(std::uint32_t neededMB)
{
    winapi::MEMORYSTATUSEX status{};
    status.dwLength = winapi::MEMORYSTATUSEX_SIZE;
    if (!winapi::GlobalMemoryStatusEx(status)) {
        PrintLine(NoMemoryMessage);
        return false;
    }
    const auto installedMB = static_cast<std::uint32_t>(status.ullTotalPhys >> 20);
    AddMoreInfo(L"%d", neededMB);
    AddMoreInfo(L"%d", installedMB);
    const bool enough = installedMB >= neededMB;
    if (!enough) {
        AddSolution(L"%d", static_cast<int>(neededMB));
    }
    return enough;
}
