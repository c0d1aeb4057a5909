// The floor of a fleet replay's processor time: only the volume bitmaps of a folder of machine
// profiles, made by the simulated machine and scanned by the contiguous-space check's scanner,
// slice by slice as the check asks for them and nothing else of a run. Which volumes are read is
// decided as the check decides it (fixed drive letters, not on a USB disk, a bitmap that answers),
// before the clock runs.
//
// usage: TARNWICK_FLEET_PROFILES=FOLDER build/sim/bench/tarnwick_bench --benchmark_filter=FleetBitmaps
// (FOLDER as tools/generate-fleet.py writes it). Read the CPU column: processor time, the figure to
// set beside tarnwick-fleet's user + system time.

#include "platform/FreeRunScanner.h"
#include "platform/UsbDisk.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"
#include "winapi/simulated/ProcessReset.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/SimulatedStart.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr const char* ProfilesVariable = "TARNWICK_FLEET_PROFILES";
// The check's slice, and the file system's alignment of a slice's first cluster.
constexpr std::uint64_t SliceBytes = 10000;
constexpr std::uint64_t SliceAlignment = 8;

struct ScannedVolume {
    winapi::sim::ClusterAllocation allocation;
    std::uint64_t clusters = 0;
};

// Whether the check's first bitmap request on the volume behind devicePath answers.
bool AnswersBitmap(const std::wstring& devicePath)
{
    const winapi::UniqueFile volume =
        winapi::CreateFileW(devicePath, winapi::GENERIC_READ | winapi::GENERIC_WRITE,
                            winapi::FILE_SHARE_READ | winapi::FILE_SHARE_WRITE, winapi::OPEN_EXISTING, 0);
    if (!volume) {
        return false;
    }
    const winapi::STARTING_LCN_INPUT_BUFFER request{0};
    std::vector<winapi::BYTE> slice(offsetof(winapi::VOLUME_BITMAP_BUFFER, Buffer) + SliceBytes);
    winapi::DWORD returned = 0;
    return winapi::DeviceIoControl(volume.get(), winapi::FSCTL_GET_VOLUME_BITMAP,
                                   std::span(reinterpret_cast<const winapi::BYTE*>(&request), sizeof(request)), slice,
                                   returned) ||
           winapi::GetLastError() == winapi::ERROR_MORE_DATA;
}

// The volumes the check reads on the installed machine, one entry per drive letter as it reads
// them (a volume with two letters is read twice).
void AddScannedVolumes(std::vector<ScannedVolume>& scanned)
{
    winapi::DWORD mask = winapi::GetLogicalDrives();
    for (wchar_t letter = L'a'; mask != 0; ++letter, mask >>= 1) {
        std::wstring root = L"a:";
        std::wstring devicePath = L"\\\\.\\a:";
        root[0] = letter;
        devicePath[4] = letter;
        if ((mask & 1) == 0 || winapi::GetDriveTypeW(root) != winapi::DRIVE_FIXED || IsOnUsbDrive(devicePath) ||
            !AnswersBitmap(devicePath)) {
            continue;
        }
        const wchar_t upper = static_cast<wchar_t>(letter - L'a' + L'A');
        for (const winapi::sim::Volume& volume : winapi::sim::CurrentMachine().volumes) {
            if (volume.driveLetters.find(upper) != std::wstring::npos) {
                scanned.push_back({volume.allocation, volume.ClusterCount()});
            }
        }
    }
}

// Makes and scans one volume's bitmap as the simulated machine answers the check's requests;
// returns the bytes made.
std::uint64_t ScanVolume(const ScannedVolume& volume, std::vector<winapi::BYTE>& slice, std::int64_t& longest)
{
    FreeRunScanner scanner;
    std::uint64_t made = 0;
    std::uint64_t lcn = 0;
    while (lcn < volume.clusters) {
        const std::uint64_t start = lcn - lcn % SliceAlignment;
        const std::uint64_t remaining = volume.clusters - start;
        const std::uint64_t needed = (remaining + 7) / 8;
        const std::uint64_t bytes = std::min(needed, SliceBytes);
        volume.allocation.FillBitmap(start, volume.clusters, std::span(slice.data(), bytes));
        made += bytes;
        // The check scans the whole bytes of the clusters the answer says are left.
        const std::uint64_t count = std::min(remaining / 8, SliceBytes);
        auto next = static_cast<std::int64_t>(start);
        scanner.Scan(std::span(slice.data(), count), next);
        lcn = static_cast<std::uint64_t>(next);
        if (bytes == needed || count == 0) {
            break;
        }
    }
    longest = std::max(longest, scanner.LongestRun());
    return made;
}

void FleetBitmaps(benchmark::State& state)
{
    const char* folder = std::getenv(ProfilesVariable);
    if (folder == nullptr || *folder == '\0') {
        state.SkipWithError("set TARNWICK_FLEET_PROFILES to a folder of machine profiles");
        return;
    }
    std::vector<std::filesystem::path> profiles;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".json") {
            profiles.push_back(entry.path());
        }
    }
    std::ranges::sort(profiles);
    std::vector<ScannedVolume> volumes;
    for (const std::filesystem::path& profile : profiles) {
        winapi::sim::Machine machine;
        const std::string problem = LoadMachineFromFile(profile.string(), machine);
        if (!problem.empty()) {
            state.SkipWithError(("machine profile \"" + profile.string() + "\": " + problem).c_str());
            return;
        }
        winapi::sim::ResetSimulatedProcess();
        winapi::sim::InstallMachine(std::move(machine));
        AddScannedVolumes(volumes);
    }
    winapi::sim::ResetSimulatedProcess();
    if (profiles.empty()) {
        state.SkipWithError("no machine profiles (*.json) in TARNWICK_FLEET_PROFILES");
        return;
    }

    std::vector<winapi::BYTE> slice(SliceBytes);
    std::uint64_t made = 0;
    for (auto _ : state) {
        made = 0;
        std::int64_t longest = 0;
        for (const ScannedVolume& volume : volumes) {
            // A fresh copy, so that no slice goes on from where the previous pass stopped.
            const ScannedVolume fresh = volume;
            made += ScanVolume(fresh, slice, longest);
        }
        benchmark::DoNotOptimize(longest);
    }
    const auto machines = static_cast<double>(profiles.size());
    state.counters["machines"] = machines;
    state.counters["volumes read"] = static_cast<double>(volumes.size());
    state.counters["bitmap MB/machine"] = static_cast<double>(made) / machines / 1e6;
    // Processor time per machine: the CPU column divided by the machines.
    state.counters["per machine"] =
        benchmark::Counter(machines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(FleetBitmaps)->Unit(benchmark::kMillisecond);

}  // namespace
