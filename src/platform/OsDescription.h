#pragma once
// The one-line description of the running Windows ("Microsoft Windows XP Professional Service
// Pack 3 (build 2600)"): a pure decision over what Windows reported, and the reader that asks it.

#include "winapi/WinTypes.h"

#include <optional>
#include <string>

// What Windows reported, as far as the description needs it.
struct OsFacts {
    // The extended version record; absent when GetVersionExW failed.
    std::optional<winapi::OSVERSIONINFOEXW> version;
    winapi::WORD processorArchitecture = winapi::PROCESSOR_ARCHITECTURE_INTEL;
    // GetProductInfo's answer; absent when the function is missing (it is asked on version 6 only).
    std::optional<winapi::DWORD> productType;
    // GetSystemMetrics(SM_SERVERR2) was non-zero (asked on version 5.2 only).
    bool serverR2 = false;
};

// Asks Windows for the facts the description needs, and only those its version calls for.
[[nodiscard]] OsFacts ReadOsFacts();

// Appends the description of the facts to description; false, and description untouched, when
// the version record is missing or the system is not an NT release after 4.
[[nodiscard]] bool DescribeOperatingSystem(const OsFacts& facts, std::wstring& description);

// The description of the running system: ReadOsFacts, then the decision above.
[[nodiscard]] bool DescribeOperatingSystem(std::wstring& description);
