#include "platform/LaterWindowsFunctions.h"

#include "winapi/SystemInfo.h"

namespace {

constexpr wchar_t Kernel32[] = L"kernel32.dll";

// The function of that name in kernel32.dll, as the given pointer type, or null. The type must
// be the function's real one, calling convention included (see WINAPI).
template <typename Function>
Function LookUpKernel32Function(const char* name)
{
    const winapi::HMODULE kernel32 = winapi::GetModuleHandleW(Kernel32);
    if (kernel32 == nullptr) {
        return nullptr;
    }
    // GetProcAddress hands every function out under one generic type; going through void* tells
    // the compiler that the real type is known here.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(winapi::GetProcAddress(kernel32, name)));
}

}  // namespace

winapi::WORD ReadProcessorArchitecture()
{
    winapi::SYSTEM_INFO info{};
    const auto getNativeSystemInfo = LookUpKernel32Function<winapi::GetNativeSystemInfoFunction>("GetNativeSystemInfo");
    if (getNativeSystemInfo != nullptr) {
        getNativeSystemInfo(&info);
    } else {
        winapi::GetSystemInfo(info);
    }
    return info.wProcessorArchitecture;
}

bool ReadProductType(winapi::DWORD& productType)
{
    const auto getProductInfo = LookUpKernel32Function<winapi::GetProductInfoFunction>("GetProductInfo");
    if (getProductInfo == nullptr) {
        return false;
    }
    winapi::DWORD returned = 0;
    if (getProductInfo(6, 0, 0, 0, &returned) == winapi::FALSE) {
        return false;
    }
    productType = returned;
    return true;
}
