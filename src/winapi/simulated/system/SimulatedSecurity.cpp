// The process token of the simulated machine: the token of the program itself (an administrator
// when the profile says "administrator"), and the token that user account control links to it.

#include "winapi/Security.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/system/SimulatedTokens.h"
#include "winapi/simulated/FailedCall.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace winapi {

namespace {

constexpr DWORD ERROR_NO_IMPERSONATION_TOKEN = 1309;

// S-1-5-32-544, BUILTIN\Administrators, as CreateWellKnownSid writes it.
constexpr std::array<BYTE, 16> AdministratorsSid{1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};

struct OpenToken {
    DWORD access = 0;
    // The process token is a primary token; a linked token comes as an impersonation token.
    bool primary = true;
    bool administrator = false;
};

std::map<HANDLE, OpenToken>& OpenTokens()
{
    static std::map<HANDLE, OpenToken> tokens;
    return tokens;
}

}  // namespace

namespace sim {

bool CloseToken(HANDLE handle)
{
    return OpenTokens().erase(handle) == 1;
}

}  // namespace sim

BOOL OpenProcessToken(DWORD desiredAccess, UniqueToken& token)
{
    if (sim::FaultedWithLastError(L"OpenProcessToken")) {
        return FALSE;
    }
    const HANDLE handle = sim::NewHandleValue();
    OpenTokens()[handle] = OpenToken{desiredAccess, true, sim::CurrentMachine().administrator};
    token.reset(handle);
    return TRUE;
}

BOOL GetTokenInformation(HANDLE token, DWORD informationClass, std::span<BYTE> information, DWORD& returnLength)
{
    const auto open = OpenTokens().find(token);
    if (open == OpenTokens().end()) {
        return sim::Fail(ERROR_INVALID_HANDLE);
    }
    if (sim::FaultedWithLastError(L"GetTokenInformation")) {
        return FALSE;
    }
    const sim::Machine& machine = sim::CurrentMachine();
    // Linked tokens came with user account control, in version 6; the one class modelled.
    if (informationClass != TokenLinkedToken || !machine.version || machine.version->dwMajorVersion < 6) {
        return sim::Fail(ERROR_INVALID_PARAMETER);
    }
    if ((open->second.access & TOKEN_QUERY) == 0) {
        return sim::Fail(ERROR_ACCESS_DENIED);
    }
    if (machine.system.linkedToken == sim::LinkedToken::None) {
        return sim::Fail(ERROR_NO_SUCH_LOGON_SESSION);
    }
    returnLength = sizeof(HANDLE);
    if (information.size() < sizeof(HANDLE)) {
        return sim::Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    const HANDLE linked = sim::NewHandleValue();
    OpenTokens()[linked] = OpenToken{TOKEN_QUERY, false, machine.system.linkedToken == sim::LinkedToken::Administrator};
    std::memcpy(information.data(), &linked, sizeof(linked));
    return TRUE;
}

BOOL CreateWellKnownSid(DWORD wellKnownSidType, std::span<BYTE> sid, DWORD& size)
{
    if (sim::FaultedWithLastError(L"CreateWellKnownSid")) {
        return FALSE;
    }
    if (wellKnownSidType != WinBuiltinAdministratorsSid) {
        return sim::Fail(ERROR_INVALID_PARAMETER);
    }
    if (size < AdministratorsSid.size() || sid.size() < AdministratorsSid.size()) {
        size = static_cast<DWORD>(AdministratorsSid.size());
        return sim::Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::ranges::copy(AdministratorsSid, sid.begin());
    size = static_cast<DWORD>(AdministratorsSid.size());
    return TRUE;
}

BOOL CheckTokenMembership(HANDLE token, std::span<const BYTE> sid, BOOL& isMember)
{
    if (sim::FaultedWithLastError(L"CheckTokenMembership")) {
        return FALSE;
    }
    // The thread does not impersonate, so a null token is the process token.
    bool administrator = sim::CurrentMachine().administrator;
    if (token != nullptr) {
        const auto open = OpenTokens().find(token);
        if (open == OpenTokens().end()) {
            return sim::Fail(ERROR_INVALID_HANDLE);
        }
        // Windows checks impersonation tokens only: a process token must be duplicated first.
        if (open->second.primary) {
            return sim::Fail(ERROR_NO_IMPERSONATION_TOKEN);
        }
        administrator = open->second.administrator;
    }
    isMember = administrator && std::ranges::equal(sid, AdministratorsSid) ? TRUE : FALSE;
    return TRUE;
}

namespace sim {

void ResetOpenTokens()
{
    OpenTokens().clear();
}

}  // namespace sim

}  // namespace winapi
