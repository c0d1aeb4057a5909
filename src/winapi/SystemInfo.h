#pragma once
// What the kernel reports about the system itself: processor, memory, system metrics, and the
// lookup of functions by name in a module that is already loaded. Native: Windows
// (native/SystemInfo.cpp). Simulated: the machine's system part (simulated/system/SimulatedSystemInfo.cpp).

#include "winapi/WinTypes.h"

#include <string>

namespace winapi {

constexpr int SM_SERVERR2 = 89;

// The handle of a module the process has already loaded, without a reference of its own (it is
// never freed); null when the module is not loaded.
[[nodiscard]] HMODULE GetModuleHandleW(const std::wstring& moduleName);
// The exported function of that name, or null (the last error says why).
[[nodiscard]] FARPROC GetProcAddress(HMODULE module, const char* procName);

// The function of that name in the already loaded kernel32.dll, as the given pointer type, or
// null: how the program calls functions of later Windows releases without importing them, so
// that it still starts where they are missing. The type must be the function's real one,
// calling convention included (see WINAPI).
template <typename Function>
[[nodiscard]] Function LookUpKernel32Function(const char* name)
{
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    if (kernel32 == nullptr) {
        return nullptr;
    }
    // GetProcAddress hands every function out under one generic type; going through void* tells
    // the compiler that the real type is known here.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel32, name)));
}

// The system as the calling process sees it: a 32-bit process on 64-bit Windows is told of an
// Intel processor. GetNativeSystemInfo, looked up by name, tells the truth.
void GetSystemInfo(SYSTEM_INFO& systemInfo);
[[nodiscard]] int GetSystemMetrics(int index);

// The caller sets dwLength to MEMORYSTATUSEX_SIZE; on failure the record is left as it was.
[[nodiscard]] BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX& status);

}  // namespace winapi
