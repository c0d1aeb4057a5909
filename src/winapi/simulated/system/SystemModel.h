#pragma once
// The system part of a simulated machine: processor, the functions of later Windows releases,
// edition, memory, the process token and BITS.

#include "winapi/WinTypes.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace winapi::sim {

enum class LinkedToken {
    None,           // no linked token (no user account control, or a plain standard user)
    Administrator,  // an administrator who runs without elevation
    StandardUser,   // an elevated process whose linked token is the filtered one
};

struct SystemModel {
    // The real processor; a 32-bit process on 64-bit Windows is told of an Intel one.
    WORD processorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    // The functions of later releases that kernel32.dll exports ("GetNativeSystemInfo",
    // "GetProductInfo").
    std::set<std::string> kernel32Functions;
    // GetProductInfo's product type.
    DWORD productInfoType = 0;
    // GetSystemMetrics(SM_SERVERR2).
    bool serverR2 = false;
    // Bytes of physical memory; absent, GlobalMemoryStatusEx fails.
    std::optional<ULONGLONG> totalPhysicalMemory;
    LinkedToken linkedToken = LinkedToken::None;
    // Whether the BITS manager is registered.
    bool bits = false;
    // What its CreateJob and AddFile answer when not S_OK: a user who is not logged on
    // interactively gets 0x800704DD from AddFile.
    std::optional<HRESULT> createJobResult;
    std::optional<HRESULT> addFileResult;
    // The BITS calls of the process, in order, so that a test can see what was asked of BITS.
    std::vector<std::wstring> bitsCalls;
};

}  // namespace winapi::sim
