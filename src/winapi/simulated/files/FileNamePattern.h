#pragma once

#include <string_view>

namespace winapi::sim {

// Windows wildcard matching of one name: "*" any run, "?" any one character, letters compared
// without regard to case.
[[nodiscard]] bool MatchesFilePattern(std::wstring_view pattern, std::wstring_view name);

}  // namespace winapi::sim
