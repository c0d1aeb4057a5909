#pragma once
// Windows promises nothing about the last error after a call that succeeds: writing to a
// redirected console probes the channel first (GetConsoleMode fails there with
// ERROR_INVALID_HANDLE), closing a handle or key, loading or freeing a module and entering COM
// may all leave an error of their own behind. The simulated calls of that kind leave one too, so
// that code reading the last error one call too late shows it here and not first on a customer's
// machine.

#include "winapi/Win32.h"
#include "winapi/WinTypes.h"

namespace winapi::sim {

// What the disturbing calls leave: the console probe's error, which no error line the checks
// print is expected to show.
constexpr DWORD ErrorLeftBySucceedingCall = ERROR_INVALID_HANDLE;

inline void DisturbLastError()
{
    SetLastError(ErrorLeftBySucceedingCall);
}

}  // namespace winapi::sim
