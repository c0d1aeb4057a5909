#pragma once
// The worker's side of the fleet replay: one machine's run of the program in a process that has
// run other machines before, and the reset that makes it meet the process a separate run of
// tarnwick would start with.

#include <cstddef>
#include <filesystem>

namespace fleet {

// Puts back every process-wide setting a run leaves behind: the simulated platform's (open
// handles, the apartment, the WMI journal, the machine) and the checks'.
void ResetProcessForMachine();

// One machine: the machine of one profile, one run of the program on it with the results document
// and trace in scratch (fleet/MachineScratch.h), its console dropped. Returns the run's exit code,
// MachineRefused with a problem file when the profile is refused.
int RunMachine(const std::filesystem::path& input, const std::filesystem::path& profile,
               const std::filesystem::path& scratch, std::size_t index);

}  // namespace fleet
