#pragma once
// Names that Windows compares without regard to letter case: registry keys and values, library
// and file names, WMI classes and properties.

#include <string_view>

namespace winapi::sim {

struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::wstring_view left, std::wstring_view right) const;
};

[[nodiscard]] bool EqualIgnoringCase(std::wstring_view left, std::wstring_view right);

}  // namespace winapi::sim
