#include "checks/system/QuillonInstallationTest.h"

#include "platform/RegistryText.h"
#include "platform/RegistryValue.h"
#include "winapi/Registry.h"

#include <vector>

namespace {

const std::wstring TesselKey = L"SOFTWARE\\Norvale\\Tessel";
const std::wstring QuillonKey = L"SOFTWARE\\Varrowen\\Quillon for PC";
const std::wstring LocationValue = L"Location";

}  // namespace

bool QuillonInstallationTest::Run()
{
    // Both are looked at, in this order, so that each installed product is reported.
    const bool tessel = IsTesselInstalled();
    const bool quillon = IsQuillonInstalled();
    return SetPassed(!tessel && !quillon);
}

bool QuillonInstallationTest::IsTesselInstalled()
{
    return IsInstalled(TesselKey);
}

bool QuillonInstallationTest::IsQuillonInstalled()
{
    return IsInstalled(QuillonKey);
}

bool QuillonInstallationTest::IsInstalled(const std::wstring& productKey)
{
    winapi::UniqueRegKey key;
    if (winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, productKey, 0, winapi::KEY_READ, key) !=
        static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return false;
    }
    return ReadInstallLocation(key.get());
}

// A product key without a location does not count as an installation.
bool QuillonInstallationTest::ReadInstallLocation(winapi::HKEY productKey)
{
    std::vector<winapi::BYTE> data;
    if (ReadRegistryValue(productKey, LocationValue, data) != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return false;
    }
    const std::wstring location = RegistryText(data);
    AddMoreInfo(L"%wS", location);
    AddSolution(L"%wS", location);
    return true;
}
