#pragma once
// Runs one input document against many machine profiles. Each machine runs in a process of its
// own, forked from this one: the program and its process-wide settings start fresh for every
// machine exactly as a separate run of tarnwick would, without the cost of starting a program.
// Several machines run at once.

#include "fleet/MachineVerdicts.h"

#include <filesystem>
#include <vector>

namespace fleet {

// The profiles of folder (its files ending in ".json" in any letter case), sorted by file name.
[[nodiscard]] std::vector<std::filesystem::path> ProfilesInFolder(const std::filesystem::path& folder);

// The verdicts of each profile's machine for the input document, in the order of profiles. The
// results documents are written to scratch, which must exist; at most jobs machines run at once.
[[nodiscard]] std::vector<MachineVerdicts> ReplayFleet(const std::filesystem::path& input,
                                                       const std::vector<std::filesystem::path>& profiles,
                                                       const std::filesystem::path& scratch, unsigned jobs);

}  // namespace fleet
