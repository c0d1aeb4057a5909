#pragma once
// The first sector of a simulated drive that its profile does not give byte for byte.

#include "winapi/WinTypes.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <vector>

namespace winapi::sim {

// Sector 0 as Windows would have written it for the drive's table: an MBR with the first four
// entries, a protective MBR for GPT, zeros for a RAW drive.
[[nodiscard]] std::vector<BYTE> BuildSector0(const PhysicalDrive& drive);

}  // namespace winapi::sim
