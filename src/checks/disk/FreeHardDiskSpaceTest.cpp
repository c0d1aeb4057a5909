#include "checks/disk/FreeHardDiskSpaceTest.h"

#include "platform/SizeParameter.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"

#include <array>
#include <string_view>

namespace {

constexpr std::wstring_view NoSystemDirectoryMessage = L"[HDTEST] ERROR: Could not determine installation disk\n";
constexpr std::wstring_view NoFreeSpaceMessage = L"[HDTEST] ERROR: Could not determine available hard disk space\n";
// The line names the default requirement whatever the setting holds.
constexpr std::wstring_view FreeSpaceMessage = L"[HDTEST] Need 100MB free hard disk space, %I64dMB available\n";

}  // namespace

FreeHardDiskSpaceTest::FreeHardDiskSpaceTest(const std::vector<std::wstring>& parameters) : Test(parameters)
{
    ApplySizeParameter(parameters, freeSpaceNeededMB);
}

bool FreeHardDiskSpaceTest::Run()
{
    std::array<wchar_t, winapi::MAX_PATH> systemDirectory{};
    bool verdict = false;
    if (winapi::GetSystemDirectoryW(systemDirectory) == 0) {
        PrintLine(NoSystemDirectoryMessage);
    } else {
        const std::wstring root{systemDirectory[0], L':'};
        verdict = HasFreeSpace(root, freeSpaceNeededMB);
    }
    return SetPassed(verdict);
}

bool FreeHardDiskSpaceTest::HasFreeSpace(const std::wstring& root, int neededMB)
{
    winapi::ULONGLONG availableToCaller = 0;
    winapi::ULONGLONG totalBytes = 0;
    winapi::ULONGLONG freeBytes = 0;
    if (!winapi::GetDiskFreeSpaceExW(root, availableToCaller, totalBytes, freeBytes)) {
        PrintLine(NoFreeSpaceMessage);
        return false;
    }
    const auto freeMB = static_cast<std::int64_t>(freeBytes >> 20);
    PrintLine(FreeSpaceMessage, freeMB);
    AddMoreInfo(L"%I64d", freeMB);
    if (freeMB >= neededMB) {
        return true;
    }
    AddSolution(L"%d", static_cast<int>(neededMB - freeMB));
    return false;
}
