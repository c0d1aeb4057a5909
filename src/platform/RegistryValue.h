#pragma once
// Reading a registry value whose size is not known in advance.

#include "winapi/Registry.h"

#include <string>
#include <vector>

// Asks for the value's size, allocates that much and asks again (again, if the value grew in
// between). data receives exactly the bytes Windows returned; on failure it is left as it was and
// the Win32 error is returned: ERROR_MORE_DATA for a value said to be larger than 1 MiB.
[[nodiscard]] winapi::LONG ReadRegistryValue(winapi::HKEY key, const std::wstring& valueName,
                                             std::vector<winapi::BYTE>& data);
