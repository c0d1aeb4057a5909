#pragma once
// Runs one input document against many machine profiles. A few long-lived worker processes
// (fleet/FleetWorker.h), forked from this one, run machine after machine; before each, every
// process-wide setting of the program and the simulated platform is put back, so that each machine
// gives exactly what a separate run of tarnwick gives, without the cost of a process per machine.
// Several machines run at once, one per worker.

#include "fleet/MachineVerdicts.h"

#include <filesystem>
#include <vector>

namespace fleet {

// The profiles of folder (its files ending in ".json" in any letter case), sorted by file name.
[[nodiscard]] std::vector<std::filesystem::path> ProfilesInFolder(const std::filesystem::path& folder);

// The verdicts of each profile's machine for each input document: one list per document, each in
// the order of profiles. Each machine runs the documents one after the other, in the same worker.
// The results documents are written to scratch, which must exist; at most jobs machines run at once.
[[nodiscard]] std::vector<std::vector<MachineVerdicts>> ReplayFleet(const std::vector<std::filesystem::path>& inputs,
                                                                    const std::vector<std::filesystem::path>& profiles,
                                                                    const std::filesystem::path& scratch,
                                                                    unsigned jobs);

}  // namespace fleet
