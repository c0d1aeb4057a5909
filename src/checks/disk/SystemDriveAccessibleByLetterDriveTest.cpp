#include "checks/disk/SystemDriveAccessibleByLetterDriveTest.h"

#include "platform/WideText.h"
#include "winapi/Win32.h"

#include <array>

bool SystemDriveAccessibleByLetterDriveTest::Run()
{
    std::array<wchar_t, winapi::MAX_PATH> buffer{};
    const winapi::UINT length = winapi::GetSystemDirectoryW(buffer);
    if (length == 0) {
        return SetPassed(false);
    }
    const std::wstring systemDirectory(buffer.data());
    AddMoreInfo(L"%wS", systemDirectory);
    AddSolution(L"%wS", systemDirectory);
    const std::wstring first = systemDirectory.substr(0, 1);
    return SetPassed(CompareIgnoringCase(first, L"a") >= 0 && CompareIgnoringCase(first, L"z") <= 0);
}
