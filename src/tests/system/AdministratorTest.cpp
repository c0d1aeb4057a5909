#include "tests/system/AdministratorTest.h"

#include "winapi/Security.h"
#include "winapi/Win32.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

constexpr std::wstring_view DefaultTokenMessage = L"Default token has admin privileges";
constexpr std::wstring_view LinkedTokenMessage = L"Linked token has admin privileges";
constexpr std::wstring_view ElevateMessage = L"You must right click on the installer and run as administrator.";
constexpr std::wstring_view NotAdministratorMessage =
    L"Your account does not have administrator privileges. Log on as an administrator and try again.";

// The token that user account control links to the process token (the elevated one of an
// administrator who runs without elevation); empty when there is none.
winapi::UniqueToken LinkedTokenOf(winapi::HANDLE processToken)
{
    // TOKEN_LINKED_TOKEN is one handle: 4 bytes in the 32-bit program, 8 in the 64-bit one.
    std::array<winapi::BYTE, sizeof(winapi::HANDLE)> buffer{};
    winapi::DWORD returned = 0;
    if (!winapi::GetTokenInformation(processToken, winapi::TokenLinkedToken, buffer, returned)) {
        return winapi::UniqueToken();
    }
    winapi::HANDLE linked = nullptr;
    std::memcpy(&linked, buffer.data(), sizeof(linked));
    return winapi::UniqueToken(linked);
}

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

bool AdministratorTest::IsAdministratorsMember(winapi::HANDLE token)
{
    std::array<winapi::BYTE, winapi::SECURITY_MAX_SID_SIZE> sid{};
    winapi::DWORD sidSize = static_cast<winapi::DWORD>(sid.size());
    if (!winapi::CreateWellKnownSid(winapi::WinBuiltinAdministratorsSid, sid, sidSize)) {
        return false;
    }
    winapi::BOOL isMember = winapi::FALSE;
    if (!winapi::CheckTokenMembership(token, std::span<const winapi::BYTE>(sid.data(), sidSize), isMember)) {
        return false;
    }
    return isMember == 1;
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
