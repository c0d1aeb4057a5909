#include "checks/system/BitLockerTest.h"

#include "platform/FeaturePresenceMessages.h"
#include "platform/LaterWindowsFunctions.h"
#include "winapi/Win32.h"

namespace {

// GetProductInfo types of the Vista workstation editions that include BitLocker.
constexpr winapi::DWORD ProductUltimate = 1;
constexpr winapi::DWORD ProductEnterprise = 4;

}  // namespace

bool BitLockerTest::Run()
{
    AddMoreInfo(PresenceOnlyMessage);
    return SetPassed(!IsBitLockerAvailable());
}

bool BitLockerTest::IsBitLockerAvailable()
{
    winapi::OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = winapi::OSVERSIONINFOEXW_SIZE;
    if (!winapi::GetVersionExW(version)) {
        PrintLine(NoVersionMessage);
        return false;
    }
    // Only the first NT 6.0 release is looked at; from 6.1 on the answer is no.
    if (version.dwPlatformId != winapi::VER_PLATFORM_WIN32_NT || version.dwMajorVersion != 6 ||
        version.dwMinorVersion != 0) {
        return false;
    }
    if (version.wProductType != winapi::VER_NT_WORKSTATION) {
        return true;
    }
    winapi::DWORD productType = 0;
    return ReadProductType(productType) && (productType == ProductUltimate || productType == ProductEnterprise);
}
