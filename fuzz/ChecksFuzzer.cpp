// Every check of the example document against a machine built from the input: a machine profile
// as a capture on a customer's machine could hold it. The answers the checks take apart (drive
// layouts, storage descriptors, cluster bitmaps, sector 0, version resources, WMI values and
// arrays, registry data) all come from it, in any shape the profile reader lets through.

#include "main/RunMode.h"
#include "support/FuzzProcess.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartSimulatedProcess();
    winapi::sim::Machine machine;
    if (!winapi::sim::LoadMachineProfile({reinterpret_cast<const char*>(data), size}, machine).empty()) {
        return 0;
    }
    CutVolumes(machine);
    winapi::sim::InstallMachine(std::move(machine));
    static const std::wstring results = WriteScratchDocument("results.xml", "");
    (void)RunModeMain({L"tarnwick", L"-i", InputDocument(), L"-o", results, L"-f"});
    return 0;
}
