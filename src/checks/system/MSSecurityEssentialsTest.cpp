#include "checks/system/MSSecurityEssentialsTest.h"

#include "winapi/Registry.h"

namespace {

const std::wstring UninstallKey =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft Security Essentials";

}  // namespace

bool MSSecurityEssentialsTest::Run()
{
    winapi::UniqueRegKey key;
    const bool installed = winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, UninstallKey, 0, winapi::KEY_READ, key) ==
                           winapi::ERROR_SUCCESS;
    return SetPassed(!installed);
}
