#pragma once
// What the Wine probes share: their lines compare byte for byte whatever the console's code page,
// so a text goes out as printable ASCII, everything else (and the backslash and quote) as \uXXXX.

#include <cstdio>
#include <string>

inline std::string Escape(const std::wstring& text)
{
    std::string escaped;
    for (const wchar_t character : text) {
        if (character >= 0x20 && character < 0x7F && character != L'\\' && character != L'"') {
            escaped += static_cast<char>(character);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(character));
            escaped += code;
        }
    }
    return escaped;
}
