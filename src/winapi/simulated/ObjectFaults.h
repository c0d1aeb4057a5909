#pragma once
// The calls that fail on one object of a simulated machine (a drive, a volume, a disk interface,
// a registry key or value, a WMI query): each fails every time it is made on that object, with
// its error, and on no other object. Calls that concern no object fail through the machine's
// own list of faults instead.

#include "winapi/simulated/CaseInsensitive.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace winapi::sim {

// The error of each failing call, by the call's name.
using ObjectFaults = std::map<std::wstring, std::uint32_t, CaseInsensitiveLess>;

[[nodiscard]] inline std::optional<std::uint32_t> ObjectFault(const ObjectFaults& faults, std::wstring_view call)
{
    const auto found = faults.find(call);
    return found == faults.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
}

}  // namespace winapi::sim
