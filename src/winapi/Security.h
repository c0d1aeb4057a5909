#pragma once
// Access tokens and group membership: is the program, or the account behind it, an
// administrator. Native: advapi32 (native/Security.cpp). Simulated: the machine's process token
// (simulated/system/SimulatedSecurity.cpp).

#include "winapi/Storage.h"
#include "winapi/UniqueResource.h"
#include "winapi/WinTypes.h"

#include <span>

namespace winapi {

// A token handle is empty when null (OpenProcessToken never gives INVALID_HANDLE_VALUE, and
// that value is the current process's pseudo-handle, not "no token").
struct TokenTraits {
    using Pointer = HANDLE;
    static Pointer Empty() { return nullptr; }
    static void Close(Pointer token) { CloseHandle(token); }
};
using UniqueToken = UniqueResource<TokenTraits>;

constexpr DWORD TOKEN_QUERY = 0x0008;

// TOKEN_INFORMATION_CLASS values.
constexpr DWORD TokenLinkedToken = 19;

// WELL_KNOWN_SID_TYPE values.
constexpr DWORD WinBuiltinAdministratorsSid = 26;
// The largest SID there is (SECURITY_MAX_SID_SIZE): room for any well-known SID.
constexpr DWORD SECURITY_MAX_SID_SIZE = 68;

constexpr DWORD ERROR_NO_SUCH_LOGON_SESSION = 1312;

// OpenProcessToken of the current process.
[[nodiscard]] BOOL OpenProcessToken(DWORD desiredAccess, UniqueToken& token);
// GetTokenInformation into the caller's buffer; returnLength gets the size written, or the size
// needed when the buffer is too small (ERROR_INSUFFICIENT_BUFFER). For TokenLinkedToken the
// buffer receives one handle (TOKEN_LINKED_TOKEN), which the caller then owns.
[[nodiscard]] BOOL GetTokenInformation(HANDLE token, DWORD informationClass, std::span<BYTE> information,
                                       DWORD& returnLength);
// CreateWellKnownSid without a domain SID. size is the buffer's size on the way in and the SID's
// on the way out (or the size needed, with ERROR_INSUFFICIENT_BUFFER).
[[nodiscard]] BOOL CreateWellKnownSid(DWORD wellKnownSidType, std::span<BYTE> sid, DWORD& size);
// CheckTokenMembership; a null token stands for the calling thread's own token.
[[nodiscard]] BOOL CheckTokenMembership(HANDLE token, std::span<const BYTE> sid, BOOL& isMember);

}  // namespace winapi
