#pragma once
// Loading a machine from its JSON profile (the format is documented in docs/machine-profile.md).

#include "winapi/simulated/SimulatedMachine.h"

#include <string>
#include <string_view>

namespace winapi::sim {

// Reads the profile text into machine. Returns an empty string on success, otherwise one line
// naming the problem and the field it concerns; machine is then left as it was.
[[nodiscard]] std::string LoadMachineProfile(std::string_view text, Machine& machine);

}  // namespace winapi::sim
