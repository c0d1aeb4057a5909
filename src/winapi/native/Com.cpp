#include "winapi/Com.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi {

HRESULT CoInitializeEx(DWORD coInit)
{
    return ::CoInitializeEx(nullptr, coInit);
}

HRESULT CoInitialize()
{
    return ::CoInitialize(nullptr);
}

void CoUninitialize()
{
    ::CoUninitialize();
}

HRESULT CoInitializeSecurity(LONG authnServiceCount, DWORD authnLevel, DWORD impLevel, DWORD capabilities)
{
    return ::CoInitializeSecurity(nullptr, authnServiceCount, nullptr, nullptr, authnLevel, impLevel, nullptr,
                                  capabilities, nullptr);
}

}  // namespace winapi
