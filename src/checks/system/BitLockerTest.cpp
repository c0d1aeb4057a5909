#include "checks/system/BitLockerTest.h"

#include "platform/FeaturePresenceMessages.h"
#include "platform/LaterWindowsFunctions.h"
#include "winapi/Win32.h"

namespace {

// The console and more-info lines of this check are those it shares with the ReadyBoost and
// ReadyDrive checks (platform/FeaturePresenceMessages.h).

// GetProductInfo types of the Vista workstation editions that include BitLocker.
constexpr winapi::DWORD ProductUltimate = 1;
constexpr winapi::DWORD ProductEnterprise = 4;

// Only the first NT 6.0 release is looked at.
bool IsFirstNt6Release(const winapi::OSVERSIONINFOEXW& version)
{
    return version.dwPlatformId == winapi::VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 6 &&
           version.dwMinorVersion == 0;
}

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
    std::optional<winapi::DWORD> productType;
    winapi::DWORD returned = 0;
    if (EditionDecidesBitLocker(version) && ReadProductType(returned)) {
        productType = returned;
    }
    return IncludesBitLocker(version, productType);
}

bool EditionDecidesBitLocker(const winapi::OSVERSIONINFOEXW& version)
{
    return IsFirstNt6Release(version) && version.wProductType == winapi::VER_NT_WORKSTATION;
}

bool IncludesBitLocker(const winapi::OSVERSIONINFOEXW& version, std::optional<winapi::DWORD> productType)
{
    if (!IsFirstNt6Release(version)) {
        return false;
    }
    if (version.wProductType != winapi::VER_NT_WORKSTATION) {
        return true;
    }
    return productType == ProductUltimate || productType == ProductEnterprise;
}
