#pragma once
// Apartment set-up of the Component Object Model on the calling thread.

#include "winapi/WinTypes.h"

namespace winapi {

[[nodiscard]] HRESULT CoInitializeEx(DWORD coInit);
[[nodiscard]] HRESULT CoInitialize();
void CoUninitialize();

}  // namespace winapi
