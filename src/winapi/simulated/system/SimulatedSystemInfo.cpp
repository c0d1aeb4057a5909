// The system part of the simulated machine: processor, metrics, memory, and the functions of
// later Windows releases that the program looks up by name in kernel32.dll.

#include "winapi/SystemInfo.h"

#include "winapi/Win32.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/storage/StorageLookup.h"
#include "winapi/simulated/FailedCall.h"

#include <string_view>

namespace winapi {

namespace {

constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

// kernel32.dll is loaded in every process; its handle is where XP's copy sits.
HMODULE const Kernel32Module = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x7C800000u));

void WINAPI SimulatedGetNativeSystemInfo(SYSTEM_INFO* systemInfo)
{
    *systemInfo = SYSTEM_INFO{};
    systemInfo->wProcessorArchitecture = sim::CurrentMachine().system.processorArchitecture;
}

BOOL WINAPI SimulatedGetProductInfo(DWORD /*osMajorVersion*/, DWORD /*osMinorVersion*/, DWORD /*spMajorVersion*/,
                                    DWORD /*spMinorVersion*/, DWORD* returnedProductType)
{
    *returnedProductType = sim::CurrentMachine().system.productInfoType;
    return TRUE;
}

// A function as GetProcAddress hands it out.
template <typename Function>
FARPROC Exported(Function function)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

}  // namespace

HMODULE GetModuleHandleW(const std::wstring& moduleName)
{
    const std::size_t slash = moduleName.find_last_of(L"\\/");
    const std::wstring_view baseName =
        slash == std::wstring::npos ? std::wstring_view(moduleName) : std::wstring_view(moduleName).substr(slash + 1);
    if (!sim::EqualIgnoringCase(baseName, L"kernel32.dll") && !sim::EqualIgnoringCase(baseName, L"kernel32")) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return Kernel32Module;
}

FARPROC GetProcAddress(HMODULE module, const char* procName)
{
    if (module != Kernel32Module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    const std::string_view name(procName);
    if (sim::CurrentMachine().system.kernel32Functions.count(std::string(name)) == 0) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    if (name == "GetNativeSystemInfo") {
        return Exported<GetNativeSystemInfoFunction>(&SimulatedGetNativeSystemInfo);
    }
    return Exported<GetProductInfoFunction>(&SimulatedGetProductInfo);
}

void GetSystemInfo(SYSTEM_INFO& systemInfo)
{
    // The program is a 32-bit process: under WOW64 it is told of an Intel processor.
    systemInfo = SYSTEM_INFO{};
    systemInfo.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
}

int GetSystemMetrics(int index)
{
    return index == SM_SERVERR2 && sim::CurrentMachine().system.serverR2 ? 1 : 0;
}

BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX& status)
{
    if (sim::FaultedWithLastError(L"GlobalMemoryStatusEx")) {
        return FALSE;
    }
    const std::optional<ULONGLONG>& total = sim::CurrentMachine().system.totalPhysicalMemory;
    if (status.dwLength != MEMORYSTATUSEX_SIZE || !total) {
        return sim::Fail(ERROR_INVALID_PARAMETER);
    }
    status.dwMemoryLoad = 50;
    status.ullTotalPhys = *total;
    status.ullAvailPhys = *total / 2;
    status.ullTotalPageFile = *total * 2;
    status.ullAvailPageFile = *total;
    // The user part of a 32-bit process's address space.
    status.ullTotalVirtual = 0x7FFE0000u;
    status.ullAvailVirtual = 0x7F000000u;
    status.ullAvailExtendedVirtual = 0;
    return TRUE;
}

}  // namespace winapi
