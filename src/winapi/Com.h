#pragma once
// Apartment set-up of the Component Object Model on the calling thread, and the process-wide
// security that COM applies to the calls the program makes.

#include "winapi/WinTypes.h"

namespace winapi {

[[nodiscard]] HRESULT CoInitializeEx(DWORD coInit);
[[nodiscard]] HRESULT CoInitialize();
void CoUninitialize();

constexpr DWORD RPC_C_AUTHN_LEVEL_DEFAULT = 0;
constexpr DWORD RPC_C_IMP_LEVEL_IMPERSONATE = 3;
constexpr DWORD EOAC_NONE = 0;
constexpr DWORD CLSCTX_INPROC_SERVER = 1;

// CoInitializeSecurity with security descriptor, authentication services, authentication list
// and both reserved pointers NULL. Security can be set once per process: every later call
// answers RPC_E_TOO_LATE.
[[nodiscard]] HRESULT CoInitializeSecurity(LONG authnServiceCount, DWORD authnLevel, DWORD impLevel,
                                           DWORD capabilities);

}  // namespace winapi
