#pragma once
// Text rules of the Windows C runtime that the program's comparisons and settings depend on.

#include <cstdint>
#include <string_view>

// _wcsicmp in the "C" locale: only A-Z fold to a-z; the result orders like wcscmp.
[[nodiscard]] int CompareIgnoringCase(std::wstring_view left, std::wstring_view right);

[[nodiscard]] inline bool EqualIgnoringCase(std::wstring_view left, std::wstring_view right)
{
    return CompareIgnoringCase(left, right) == 0;
}

// _wtoi: skips leading white space, reads an optional sign and decimal digits up to the first
// other character; 0 when there are none; INT_MAX or INT_MIN when the value overflows.
[[nodiscard]] int WideToInt(std::wstring_view text);

// _wcstoui64 in base 10: skips leading white space, reads an optional sign and decimal digits up
// to the first other character; 0 when there are none; UINT64_MAX when the value overflows; a
// minus sign negates the value modulo 2^64. WMI delivers its 64-bit numbers as such text.
[[nodiscard]] std::uint64_t WideToUInt64(std::wstring_view text);
