#pragma once
// The worker's side of the fleet replay: one machine's run of the program in a process that has
// run other machines before, and the reset that makes it meet the process a separate run of
// tarnwick would start with.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace fleet {

// Puts back every process-wide setting a run leaves behind: the simulated platform's (open
// handles, the apartment, the WMI journal, the machine) and the checks'.
void ResetProcessForMachine();

// One machine: the machine of one profile, one run of the program on it with programArguments
// after its own, the results document, console and trace in scratch (fleet/MachineScratch.h).
// Returns the run's exit code, MachineRefused with a problem file when the profile is refused.
int RunMachine(const std::filesystem::path& input, const std::filesystem::path& profile,
               const std::filesystem::path& scratch, std::size_t index,
               const std::vector<std::wstring>& programArguments);

}  // namespace fleet
