#include "platform/RegistryText.h"

#include <algorithm>

namespace {

char32_t UnitAt(const std::vector<winapi::BYTE>& data, std::size_t at)
{
    return static_cast<char32_t>(data[at]) | (static_cast<char32_t>(data[at + 1]) << 8);
}

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::wstring RegistryCharacters(const std::vector<winapi::BYTE>& data)
{
    constexpr std::size_t UnitSize = 2;
    std::wstring text;
    text.reserve(data.size() / UnitSize);
    for (std::size_t at = 0; at + UnitSize <= data.size(); at += UnitSize) {
        const char32_t unit = UnitAt(data, at);
        // Where a wide character holds 32 bits, a surrogate pair is one character; an unpaired
        // surrogate stays as it is, as it does in a 16-bit wide string.
        if constexpr (sizeof(wchar_t) > UnitSize) {
            if (IsHighSurrogate(unit) && at + 2 * UnitSize <= data.size() &&
                IsLowSurrogate(UnitAt(data, at + UnitSize))) {
                const char32_t low = UnitAt(data, at + UnitSize);
                text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += UnitSize;
                continue;
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

std::wstring RegistryText(const std::vector<winapi::BYTE>& data)
{
    std::wstring text = RegistryCharacters(data);
    text.resize(std::min(text.find(L'\0'), text.size()));
    return text;
}
