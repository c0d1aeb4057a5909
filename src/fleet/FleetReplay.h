#pragma once
// Runs one input document against many machine profiles. A few long-lived worker processes
// (fleet/FleetWorker.h), forked from this one, run machine after machine; before each, every
// process-wide setting of the program and the simulated platform is put back, so that each machine
// gives exactly what a separate run of tarnwick gives, without the cost of a process per machine.
// Several machines run at once, one per worker.

#include "fleet/MachineVerdicts.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fleet {

// The profiles of folder (its files ending in ".json" in any letter case), sorted by file name.
[[nodiscard]] std::vector<std::filesystem::path> ProfilesInFolder(const std::filesystem::path& folder);

// Called as each machine's runs are all read, with the machine's index in profiles and its verdicts
// for each input document, in the order of inputs; the replay keeps nothing of them after.
using MachineDone = std::function<void(std::size_t machine, std::vector<MachineVerdicts>& documents)>;

// Runs each input document on each profile's machine, each run as "tarnwick -i input -o results
// -f" followed by programArguments. Each machine runs the documents one after the other, in the
// same worker. The results documents are written to scratch, which must exist; at most jobs
// machines run at once. Machines finish in any order.
void ReplayFleet(const std::vector<std::filesystem::path>& inputs, const std::vector<std::filesystem::path>& profiles,
                 const std::filesystem::path& scratch, unsigned jobs, const std::vector<std::wstring>& programArguments,
                 const MachineDone& machineDone);

}  // namespace fleet
