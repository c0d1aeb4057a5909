#pragma once
// Reading a registry value whose size is not known in advance.

#include "winapi/Registry.h"

#include <string>
#include <vector>

// Asks for the value's size, allocates that much and asks again. data receives exactly the
// bytes Windows returned; on failure it is left as it was and the Win32 error is returned.
[[nodiscard]] winapi::LONG ReadRegistryValue(winapi::HKEY key, const std::wstring& valueName,
                                             std::vector<winapi::BYTE>& data);
