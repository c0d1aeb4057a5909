#pragma once
// One entry that a file search returns, from the host's files or the machine's.

#include "winapi/WinTypes.h"

#include <string>

namespace winapi::sim {

struct FoundEntry {
    std::wstring name;
    DWORD attributes = 0;
    ULONGLONG size = 0;
};

}  // namespace winapi::sim
