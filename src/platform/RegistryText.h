#pragma once
// Registry data taken as text without looking at the value's type, as the software checks read
// install paths and the BIOS checks the firmware's strings. Windows stores registry text as
// 16-bit characters (UTF-16, little-endian), and a value of another type read as text is read
// the same way: the four bytes of a REG_DWORD are two characters.

#include "winapi/WinTypes.h"

#include <string>
#include <vector>

// Every 16-bit character of the data, nulls included; a last odd byte is no character.
[[nodiscard]] std::wstring RegistryCharacters(const std::vector<winapi::BYTE>& data);

// The characters of the data up to the first null, or all of them when it holds none (a value
// stored without its terminator).
[[nodiscard]] std::wstring RegistryText(const std::vector<winapi::BYTE>& data);
