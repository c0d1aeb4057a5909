#pragma once
// The WMI identity reads shared by the black- and whitelist of the motherboard and of the
// processor: each records the machine's string in the check's result and looks for it in the
// check's list.

#include "framework/Test.h"
#include "winapi/WinTypes.h"

#include <string>
#include <vector>

// Board string: Win32_BaseBoard Manufacturer, one blank, Product. Prints the three
// MOTHERBOARD lines and records the board string. Negative when WMI cannot be read (nothing
// is recorded then); found tells whether an entry equals the board string.
[[nodiscard]] winapi::HRESULT MatchMotherboard(Test& test, const std::vector<std::wstring>& parameters, bool& found);

// Win32_Processor Name of the first processor, recorded as it is (leading blanks included).
[[nodiscard]] winapi::HRESULT MatchProcessor(Test& test, const std::vector<std::wstring>& parameters, bool& found);
