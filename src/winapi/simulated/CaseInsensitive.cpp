#include "winapi/simulated/CaseInsensitive.h"

#include <algorithm>

namespace winapi::sim {

namespace {

wchar_t Fold(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool CaseInsensitiveLess::operator()(std::wstring_view left, std::wstring_view right) const
{
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [](wchar_t a, wchar_t b) { return Fold(a) < Fold(b); });
}

bool EqualIgnoringCase(std::wstring_view left, std::wstring_view right)
{
    return std::ranges::equal(left, right, [](wchar_t a, wchar_t b) { return Fold(a) == Fold(b); });
}

}  // namespace winapi::sim
