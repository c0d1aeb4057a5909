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

}  // namespace winapi
