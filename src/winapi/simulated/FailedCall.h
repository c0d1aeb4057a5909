#pragma once
// How a simulated Win32 call fails: with the last error set, from the machine profile's fault for
// the call or from the call's own rules.

#include "winapi/WinTypes.h"

#include <string_view>

namespace winapi::sim {

// Takes the profile's fault for the call, if any, as the last error.
[[nodiscard]] bool FaultedWithLastError(std::wstring_view call);

// Sets the last error and answers FALSE, as a failing Win32 call does.
BOOL Fail(DWORD error);

}  // namespace winapi::sim
