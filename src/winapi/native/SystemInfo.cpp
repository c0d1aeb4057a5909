#include "winapi/SystemInfo.h"

#include <bit>

#include "winapi/native/RecordCall.h"
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
    return native::CallWithRecordCopy<::MEMORYSTATUSEX>(
        status, [](::MEMORYSTATUSEX& record) { return ::GlobalMemoryStatusEx(&record); });
}

}  // namespace winapi
