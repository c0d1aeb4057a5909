#pragma once
// Conversions between the program's wide strings and UTF-8, the encoding of the console, the
// trace and the simulated machine's files. wchar_t holds UTF-16 on Windows and UTF-32 elsewhere;
// both are handled, and a code unit that is not valid becomes U+FFFD.

#include <string>
#include <string_view>

namespace winapi {

[[nodiscard]] inline std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto code = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
                auto low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// One UTF-8 sequence: the character it encodes and the bytes it takes. A sequence that is not
// UTF-8 (a stray or cut-short byte run, an overlong form, a surrogate, anything beyond U+10FFFF)
// is invalid and stands for U+FFFD; it ends before the first byte that cannot continue it.
struct Utf8Sequence {
    char32_t code = 0xFFFD;
    std::size_t length = 1;
    bool valid = false;
};

[[nodiscard]] inline Utf8Sequence DecodeUtf8Sequence(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 1) {
        return {lead, 1, true};
    }
    if (length == 0 || at + length > text.size()) {
        return {};
    }
    char32_t code = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) {
            return {0xFFFD, k, false};
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    // The shortest form only: an overlong "\xC0\x80" would otherwise smuggle in a null.
    constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {0xFFFD, length, false};
    }
    return {code, length, true};
}

// The offset of the first byte that starts no valid sequence; npos when the text is all UTF-8.
[[nodiscard]] inline std::size_t FirstInvalidUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Sequence sequence = DecodeUtf8Sequence(text, at);
        if (!sequence.valid) {
            return at;
        }
        at += sequence.length;
    }
    return std::string_view::npos;
}

[[nodiscard]] inline bool IsValidUtf8(std::string_view text)
{
    return FirstInvalidUtf8(text) == std::string_view::npos;
}

[[nodiscard]] inline std::wstring FromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Sequence sequence = DecodeUtf8Sequence(text, at);
        if (sizeof(wchar_t) == 2 && sequence.code >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((sequence.code - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((sequence.code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(sequence.code);
        }
        at += sequence.length;
    }
    return out;
}

}  // namespace winapi
