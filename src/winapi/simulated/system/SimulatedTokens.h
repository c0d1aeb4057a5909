#pragma once
// The access tokens the simulated process has open, so that CloseHandle can close them too.

#include "winapi/WinTypes.h"

namespace winapi::sim {

// Closes the token if handle is one; false otherwise.
[[nodiscard]] bool CloseToken(HANDLE handle);

}  // namespace winapi::sim
