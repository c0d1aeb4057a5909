#include "platform/WideText.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool IsRuntimeSpace(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

}  // namespace

int CompareIgnoringCase(std::wstring_view left, std::wstring_view right)
{
    const std::size_t common = left.size() < right.size() ? left.size() : right.size();
    for (std::size_t i = 0; i < common; ++i) {
        const wchar_t a = FoldAscii(left[i]);
        const wchar_t b = FoldAscii(right[i]);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (left.size() == right.size()) {
        return 0;
    }
    return left.size() < right.size() ? -1 : 1;
}

namespace {

// Where the digits of a number start, as the runtime's conversions read it: after leading white
// space and an optional sign.
std::size_t SkipSpaceAndSign(std::wstring_view text, bool& negative)
{
    std::size_t at = 0;
    while (at < text.size() && IsRuntimeSpace(text[at])) {
        ++at;
    }
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) {
        negative = text[at] == L'-';
        ++at;
    }
    return at;
}

}  // namespace

int WideToInt(std::wstring_view text)
{
    bool negative = false;
    std::size_t at = SkipSpaceAndSign(text, negative);
    // Digits past the range only keep the value pinned just beyond it.
    constexpr std::int64_t limit = static_cast<std::int64_t>(INT_MAX) + 1;
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = std::min(value * 10 + (text[at] - L'0'), limit);
    }
    if (negative) {
        return static_cast<int>(-value);
    }
    return static_cast<int>(std::min(value, limit - 1));
}

std::uint64_t WideToUInt64(std::wstring_view text)
{
    bool negative = false;
    std::size_t at = SkipSpaceAndSign(text, negative);
    std::uint64_t value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        const auto digit = static_cast<std::uint64_t>(text[at] - L'0');
        if (value > (UINT64_MAX - digit) / 10) {
            return UINT64_MAX;
        }
        value = value * 10 + digit;
    }
    return negative ? ~value + 1 : value;
}
