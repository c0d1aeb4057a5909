#include "winapi/simulated/files/FileNamePattern.h"

#include "winapi/simulated/CaseInsensitive.h"

namespace winapi::sim {

bool MatchesFilePattern(std::wstring_view pattern, std::wstring_view name)
{
    if (pattern == L"*" || pattern == L"*.*") {
        return true;
    }
    const auto same = [](wchar_t a, wchar_t b) {
        return EqualIgnoringCase(std::wstring_view(&a, 1), std::wstring_view(&b, 1));
    };
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::wstring_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            starName = n;
        } else if (starAt != std::wstring_view::npos) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace winapi::sim
