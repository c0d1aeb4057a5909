#pragma once

#include <string_view>

namespace winapi::sim {

// The profile of the machine a run answers for when no profile is named: the build embeds
// examples/machines/default.json.
[[nodiscard]] std::string_view DefaultMachineProfile();

}  // namespace winapi::sim
