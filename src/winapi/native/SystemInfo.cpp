#include "winapi/SystemInfo.h"

#include <bit>

#include "winapi/native/WindowsHeaders.h"

namespace winapi {

HMODULE GetModuleHandleW(const std::wstring& moduleName)
{
    return ::GetModuleHandleW(moduleName.c_str());
}

FARPROC GetProcAddress(HMODULE module, const char* procName)
{
    return reinterpret_cast<FARPROC>(
        reinterpret_cast<void*>(::GetProcAddress(static_cast<::HMODULE>(module), procName)));
}

void GetSystemInfo(SYSTEM_INFO& systemInfo)
{
    ::SYSTEM_INFO native{};
    ::GetSystemInfo(&native);
    systemInfo = std::bit_cast<SYSTEM_INFO>(native);
}

int GetSystemMetrics(int index)
{
    return ::GetSystemMetrics(index);
}

BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX& status)
{
    // A copy, so that a failed call leaves the caller's record as it was.
    auto native = std::bit_cast<::MEMORYSTATUSEX>(status);
    const BOOL ok = ::GlobalMemoryStatusEx(&native);
    if (ok) {
        status = std::bit_cast<MEMORYSTATUSEX>(native);
    }
    return ok;
}

}  // namespace winapi
