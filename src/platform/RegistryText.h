#pragma once
// Registry data taken as text without looking at the value's type, as the software checks read
// install paths.

#include "winapi/WinTypes.h"

#include <string>
#include <vector>

// The characters of the data up to the first null, or all of them when it holds none (a value
// stored without its terminator); a last odd byte is no character.
[[nodiscard]] std::wstring RegistryText(const std::vector<winapi::BYTE>& data);
