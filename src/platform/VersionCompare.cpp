#include "platform/VersionCompare.h"

#include "platform/WideText.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace {

constexpr std::wstring_view VersionCharacters = L"0123456789.";
constexpr std::wstring_view ZeroComponent = L".0";

// a minus b; called on its own, CompareVersionNumbers may meet signed components, whose
// difference can leave the int range: it is then pinned at the end of the range, sign kept.
int Difference(std::wstring_view a, std::wstring_view b)
{
    const long long difference = static_cast<long long>(WideToInt(a)) - WideToInt(b);
    return static_cast<int>(std::clamp<long long>(difference, INT_MIN, INT_MAX));
}

std::size_t CountDots(const std::wstring& version)
{
    return static_cast<std::size_t>(std::ranges::count(version, L'.'));
}

}  // namespace

int CompareVersionStrings(std::wstring a, std::wstring b)
{
    a.resize(std::min(a.find_first_not_of(VersionCharacters), a.size()));
    b.resize(std::min(b.find_first_not_of(VersionCharacters), b.size()));
    const std::size_t dotsA = CountDots(a);
    const std::size_t dotsB = CountDots(b);
    std::wstring& shorter = dotsA < dotsB ? a : b;
    for (std::size_t missing = dotsA < dotsB ? dotsB - dotsA : dotsA - dotsB; missing > 0; --missing) {
        shorter += ZeroComponent;
    }
    return CompareVersionNumbers(a, b);
}

int CompareVersionNumbers(const std::wstring& a, const std::wstring& b)
{
    std::wstring_view restA = a;
    std::wstring_view restB = b;
    // One component per round, as long as a dot is left; the last components decide alone.
    for (;;) {
        const std::size_t dotA = restA.find(L'.');
        const std::size_t dotB = restB.find(L'.');
        if (dotA == std::wstring_view::npos && dotB == std::wstring_view::npos) {
            return Difference(restA, restB);
        }
        const int difference = Difference(restA.substr(0, dotA), restB.substr(0, dotB));
        if (difference != 0) {
            return difference;
        }
        restA = dotA == std::wstring_view::npos ? std::wstring_view() : restA.substr(dotA + 1);
        restB = dotB == std::wstring_view::npos ? std::wstring_view() : restB.substr(dotB + 1);
    }
}
