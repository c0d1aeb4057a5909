#include "checks/disk/ReadyFeatures.h"

#include "platform/FeaturePresenceMessages.h"
#include "winapi/Win32.h"

namespace {

// True on NT 6.0 workstation. Prints a line and answers false when the version is unknown.
bool IsReadyBoostSystem(Test& test)
{
    winapi::OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = winapi::OSVERSIONINFOEXW_SIZE;
    if (!winapi::GetVersionExW(version)) {
        test.PrintLine(NoVersionMessage);
        return false;
    }
    return HasReadyFeatures(version);
}

}  // namespace

bool HasReadyFeatures(const winapi::OSVERSIONINFOEXW& version)
{
    return version.dwPlatformId == winapi::VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 6 &&
           version.dwMinorVersion == 0 && version.wProductType == winapi::VER_NT_WORKSTATION;
}

bool RunReadyFeatureTest(Test& test)
{
    test.AddMoreInfo(PresenceOnlyMessage);
    return test.SetPassed(!IsReadyBoostSystem(test));
}
