#include "tests/disk/ReadyFeatures.h"

#include "winapi/Win32.h"

namespace {

constexpr std::wstring_view NoVersionMessage = L"Couldn't get the os information\n";
constexpr std::wstring_view PresenceOnlyMessage = L"Checks only if the feature is present, not if it is running";

}  // namespace

bool IsReadyBoostSystem(Test& test)
{
    winapi::OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = winapi::OSVERSIONINFOEXW_SIZE;
    if (!winapi::GetVersionExW(version)) {
        test.PrintLine(NoVersionMessage);
        return false;
    }
    return version.dwPlatformId == winapi::VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 6 &&
           version.dwMinorVersion == 0 && version.wProductType == winapi::VER_NT_WORKSTATION;
}

bool RunReadyFeatureTest(Test& test)
{
    test.AddMoreInfo(PresenceOnlyMessage);
    return test.SetPassed(!IsReadyBoostSystem(test));
}
