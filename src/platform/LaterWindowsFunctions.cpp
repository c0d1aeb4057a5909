#include "platform/LaterWindowsFunctions.h"

#include "winapi/SystemInfo.h"

using winapi::LookUpKernel32Function;

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
