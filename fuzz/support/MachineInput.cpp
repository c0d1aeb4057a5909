#include "support/MachineInput.h"

#include "fleet/MachineRun.h"
#include "main/RunMode.h"
#include "support/FuzzProcess.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The contiguous-space check reads every cluster of a volume bit by bit, and a profile may give
// a volume four billion of them: each volume is cut to this many clusters, so that one input
// takes milliseconds and not minutes. The checks see a smaller disk, never a different kind.
constexpr std::uint64_t ClustersPerVolume = std::uint64_t{1} << 20;

void CutVolumes(winapi::sim::Machine& machine)
{
    for (winapi::sim::Volume& volume : machine.volumes) {
        const std::uint64_t clusterBytes = std::uint64_t{volume.bytesPerSector} * volume.sectorsPerCluster;
        if (volume.ClusterCount() > ClustersPerVolume) {
            volume.totalBytes = ClustersPerVolume * clusterBytes;
        }
    }
}

// The example input document, copied into the scratch folder once: all 38 checks with their
// parameters.
const std::wstring& InputDocument()
{
    static const std::wstring path = [] {
        std::ifstream file(TARNWICK_EXAMPLE_INPUT, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        return WriteScratchDocument("input.xml", text);
    }();
    return path;
}

}  // namespace

const std::wstring& MachineInputResults()
{
    static const std::wstring results = WriteScratchDocument("results.xml", "");
    return results;
}

bool RunChecksOnMachine(std::string_view profile)
{
    fleet::ResetProcessForMachine();
    winapi::sim::Machine machine;
    if (!winapi::sim::LoadMachineProfile(profile, machine).empty()) {
        return false;
    }
    CutVolumes(machine);
    winapi::sim::InstallMachine(std::move(machine));
    (void)RunModeMain({L"tarnwick", L"-i", InputDocument(), L"-o", MachineInputResults(), L"-f"});
    return true;
}
