#include "platform/TokenMembership.h"

#include <array>
#include <cstring>
#include <span>

bool IsAdministratorsMember(winapi::HANDLE token)
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
