#include "checks/system/NETFrameworkTest.h"

#include "platform/Console.h"
#include "platform/RegistryText.h"
#include "platform/RegistryValue.h"
#include "checks/system/FileVersionCheck.h"
#include "winapi/Registry.h"
#include "winapi/Win32.h"

#include <string_view>
#include <vector>

namespace {

const std::wstring FrameworkKey = L"SOFTWARE\\Microsoft\\.NETFramework";
const std::wstring InstallRootValue = L"InstallRoot";
const std::wstring AllEntries = L"*";
const std::wstring MscorlibFile = L"\\mscorlib.dll";
const std::wstring RequiredVersion = L"2";

constexpr std::string_view NoFilesMessage = "no files found\n";

}  // namespace

bool NETFrameworkTest::Run()
{
    return SetPassed(HasFrameworkVersion(RequiredVersion));
}

bool NETFrameworkTest::HasFrameworkVersion(const std::wstring& requiredVersion)
{
    winapi::UniqueRegKey key;
    if (winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, FrameworkKey, 0, winapi::KEY_READ, key) !=
        static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return false;
    }
    return CheckInstallRoot(key.get(), requiredVersion);
}

bool NETFrameworkTest::CheckInstallRoot(winapi::HKEY frameworkKey, const std::wstring& requiredVersion)
{
    // The value's type is not looked at: whatever it holds is read as the root's text.
    std::vector<winapi::BYTE> data;
    if (ReadRegistryValue(frameworkKey, InstallRootValue, data) != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return false;
    }
    const std::wstring installRoot = RegistryText(data);
    const bool found = CheckFrameworkDirectories(installRoot, requiredVersion);
    // The solution names the root whatever the outcome, so a passed check shows it too.
    AddSolution(L"%wS", installRoot);
    return found;
}

// Every folder that the search returns is looked at, "." and ".." included, in the order the file
// system gives them; the root is used as stored and is expected to end with a backslash.
bool NETFrameworkTest::CheckFrameworkDirectories(const std::wstring& installRoot, const std::wstring& requiredVersion)
{
    winapi::WIN32_FIND_DATAW entry{};
    const winapi::UniqueFindFile search = winapi::FindFirstFileW(installRoot + AllEntries, entry);
    if (!search) {
        ConsolePrintf(NoFilesMessage);
        return false;
    }
    bool found = false;
    do {
        if ((entry.dwFileAttributes & winapi::FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            CheckMscorlibVersion(installRoot + entry.cFileName, requiredVersion)) {
            found = true;
        }
    } while (winapi::FindNextFileW(search.get(), entry));
    return found;
}

bool NETFrameworkTest::CheckMscorlibVersion(const std::wstring& directory, const std::wstring& requiredVersion)
{
    return CheckFileVersion(*this, requiredVersion, directory + MscorlibFile);
}
