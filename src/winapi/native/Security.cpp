#include "winapi/Security.h"

#include <algorithm>

#include "winapi/native/WindowsHeaders.h"

// Values whose Windows names are macros cannot be compared once the SDK is in; these are enums.
static_assert(winapi::TokenLinkedToken == ::TokenLinkedToken);
static_assert(winapi::WinBuiltinAdministratorsSid == ::WinBuiltinAdministratorsSid);

namespace winapi {

BOOL OpenProcessToken(DWORD desiredAccess, UniqueToken& token)
{
    ::HANDLE opened = nullptr;
    const BOOL ok = ::OpenProcessToken(::GetCurrentProcess(), desiredAccess, &opened);
    if (ok) {
        token.reset(opened);
    }
    return ok;
}

BOOL GetTokenInformation(HANDLE token, DWORD informationClass, std::span<BYTE> information, DWORD& returnLength)
{
    return ::GetTokenInformation(token, static_cast<::TOKEN_INFORMATION_CLASS>(informationClass), information.data(),
                                 static_cast<DWORD>(information.size()), &returnLength);
}

BOOL CreateWellKnownSid(DWORD wellKnownSidType, std::span<BYTE> sid, DWORD& size)
{
    DWORD inOut = std::min(size, static_cast<DWORD>(sid.size()));
    const BOOL ok =
        ::CreateWellKnownSid(static_cast<::WELL_KNOWN_SID_TYPE>(wellKnownSidType), nullptr, sid.data(), &inOut);
    size = inOut;
    return ok;
}

BOOL CheckTokenMembership(HANDLE token, std::span<const BYTE> sid, BOOL& isMember)
{
    ::BOOL member = FALSE;
    // CheckTokenMembership only reads the SID; its parameter is not const in the SDK.
    const BOOL ok = ::CheckTokenMembership(token, const_cast<BYTE*>(sid.data()), &member);
    if (ok) {
        isMember = member;
    }
    return ok;
}

}  // namespace winapi
