#include "winapi/Security.h"

#include <algorithm>
#include <type_traits>

#include "winapi/native/WindowsHeaders.h"

// Values whose Windows names are macros cannot be compared once the SDK is in; these are enums.
static_assert(winapi::TokenLinkedToken == ::TokenLinkedToken);
static_assert(winapi::WinBuiltinAdministratorsSid == ::WinBuiltinAdministratorsSid);

namespace winapi {

namespace {

// CreateWellKnownSid as advapi32.dll exports it (Windows XP and later), calling convention
// included; decltype names it without importing it.
using CreateWellKnownSidFunction = ::BOOL(WINAPI*)(::WELL_KNOWN_SID_TYPE type, ::PSID domainSid, ::PSID sid,
                                                   ::DWORD* size);
static_assert(std::is_same_v<CreateWellKnownSidFunction, decltype(&::CreateWellKnownSid)>);

}  // namespace

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
    // Looked up by name in advapi32.dll, which the program has loaded for its registry and token
    // calls, so that the program starts on Windows 2000; there the call fails as a missing
    // function does, and the Administrators check treats that as any failure of the call.
    const ::HMODULE advapi32 = ::GetModuleHandleW(L"advapi32.dll");
    const auto create = advapi32 == nullptr ? nullptr
                                            : reinterpret_cast<CreateWellKnownSidFunction>(reinterpret_cast<void*>(
                                                  ::GetProcAddress(advapi32, "CreateWellKnownSid")));
    if (create == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    DWORD inOut = std::min(size, static_cast<DWORD>(sid.size()));
    const BOOL ok = create(static_cast<::WELL_KNOWN_SID_TYPE>(wellKnownSidType), nullptr, sid.data(), &inOut);
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
