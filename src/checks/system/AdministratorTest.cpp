#include "checks/system/AdministratorTest.h"

#include "platform/TokenMembership.h"
#include "winapi/Security.h"
#include "winapi/Win32.h"

#include <string_view>

namespace {

constexpr std::wstring_view DefaultTokenMessage = L"Default token has admin privileges";
constexpr std::wstring_view LinkedTokenMessage = L"Linked token has admin privileges";
constexpr std::wstring_view ElevateMessage = L"You must right click on the installer and run as administrator.";
constexpr std::wstring_view NotAdministratorMessage =
    L"Your account does not have administrator privileges. Log on as an administrator and try again.";

}  // namespace

bool AdministratorTest::Run()
{
    SetPassed(CheckAdministrator());
    AddSolution(L"");
    return GetPassed();
}

bool AdministratorTest::IsVistaOrLater()
{
    winapi::OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = winapi::OSVERSIONINFOEXW_SIZE;
    return winapi::GetVersionExW(version) && version.dwMajorVersion >= 6;
}

bool AdministratorTest::CheckAdministrator()
{
    if (!IsVistaOrLater()) {
        return IsAdministratorsMember(nullptr);
    }
    winapi::UniqueToken processToken;
    if (!winapi::OpenProcessToken(winapi::TOKEN_QUERY, processToken)) {
        return false;
    }
    const winapi::UniqueToken linkedToken = LinkedTokenOf(processToken.get());
    const bool defaultIsAdministrator = IsAdministratorsMember(nullptr);
    const bool linkedIsAdministrator = linkedToken && IsAdministratorsMember(linkedToken.get());
    if (defaultIsAdministrator) {
        AddMoreInfo(DefaultTokenMessage);
    } else if (linkedIsAdministrator) {
        AddMoreInfo(LinkedTokenMessage);
        AddMoreInfo(ElevateMessage);
    } else {
        AddMoreInfo(NotAdministratorMessage);
    }
    return defaultIsAdministrator;
}
