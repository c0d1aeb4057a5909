// The longest-free-run measurement of the contiguous-space check on a 2 TiB volume with 4 KiB
// clusters (536,870,912 clusters, a 64 MiB bitmap), read in the check's 10,000-byte slices: the
// bit-by-bit loop against the word-wise scanner, in clusters per second. And the simulated
// machine's side of the same reading: making those slices of a fragmented volume.

#include "platform/FreeRunScanner.h"
#include "support/BitByBitFreeRun.h"
#include "winapi/simulated/storage/ClusterAllocation.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint64_t VolumeClusters = std::uint64_t{1} << 29;
constexpr std::size_t SliceBytes = 10000;

enum class Volume { Typical, LongFreeRuns, Alternating };

const std::vector<std::uint8_t>& Bitmap(Volume volume)
{
    const auto fragmented = [](std::uint32_t meanUsedRun, std::uint32_t meanFreeRun) {
        std::vector<std::uint8_t> bitmap(VolumeClusters / 8);
        winapi::sim::ClusterAllocation::Fragmented(7, meanUsedRun, meanFreeRun).FillBitmap(0, VolumeClusters, bitmap);
        return bitmap;
    };
    // Each 64 MiB bitmap is made the first time a benchmark asks for it.
    switch (volume) {
    case Volume::Typical: {
        // Used runs of 1 to 191 clusters between free runs of 1 to 47, as on a well-used NTFS volume.
        static const std::vector<std::uint8_t> typical = fragmented(96, 24);
        return typical;
    }
    case Volume::LongFreeRuns: {
        // Used runs of 1 to 399 clusters between free runs of 1 to 199, as on a server's data
        // volume: the best run soon passes 126 clusters, and the scan looks only at every
        // stride-th word.
        static const std::vector<std::uint8_t> longFreeRuns = fragmented(200, 100);
        return longFreeRuns;
    }
    case Volume::Alternating: break;
    }
    static const std::vector<std::uint8_t> everyOther(VolumeClusters / 8, 0x55);
    return everyOther;
}

template <typename Scanner>
std::int64_t ScanVolume(const std::vector<std::uint8_t>& bitmap, Scanner& scanner)
{
    std::int64_t lcn = 0;
    for (std::size_t offset = 0; offset < bitmap.size(); offset += SliceBytes) {
        scanner.Scan(std::span(bitmap.data() + offset, std::min(SliceBytes, bitmap.size() - offset)), lcn);
    }
    return lcn;
}

std::int64_t BitLoopBest(const std::vector<std::uint8_t>& bitmap)
{
    BitByBitFreeRun scanner;
    ScanVolume(bitmap, scanner);
    return scanner.best;
}

template <Volume Kind>
void BitByBit(benchmark::State& state)
{
    const std::vector<std::uint8_t>& bitmap = Bitmap(Kind);
    for (auto _ : state) {
        BitByBitFreeRun scanner;
        benchmark::DoNotOptimize(ScanVolume(bitmap, scanner));
        benchmark::DoNotOptimize(scanner.best);
    }
    state.counters["clusters/s"] =
        benchmark::Counter(static_cast<double>(VolumeClusters), benchmark::Counter::kIsIterationInvariantRate);
}

template <Volume Kind>
void WordWise(benchmark::State& state)
{
    const std::vector<std::uint8_t>& bitmap = Bitmap(Kind);
    std::int64_t best = 0;
    for (auto _ : state) {
        FreeRunScanner scanner;
        benchmark::DoNotOptimize(ScanVolume(bitmap, scanner));
        best = scanner.LongestRun();
        benchmark::DoNotOptimize(best);
    }
    if (best != BitLoopBest(bitmap)) {
        state.SkipWithError("the scanner disagrees with the bit loop");
    }
    state.counters["clusters/s"] =
        benchmark::Counter(static_cast<double>(VolumeClusters), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["longest run"] = static_cast<double>(best);
}

// The slices of the simulated volume, made one after the other as the check asks for them.
void SimulatedSlices(benchmark::State& state)
{
    const auto allocation = winapi::sim::ClusterAllocation::Fragmented(7, 96, 24);
    std::vector<std::uint8_t> slice(SliceBytes);
    for (auto _ : state) {
        for (std::uint64_t first = 0; first < VolumeClusters; first += SliceBytes * 8) {
            allocation.FillBitmap(first, VolumeClusters, slice);
            benchmark::DoNotOptimize(slice.data());
        }
    }
    state.counters["clusters/s"] =
        benchmark::Counter(static_cast<double>(VolumeClusters), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(SimulatedSlices)->Name("TypicalFragmentation/SimulatedSlices")->Unit(benchmark::kMillisecond);
BENCHMARK(BitByBit<Volume::Typical>)->Name("TypicalFragmentation/BitByBit")->Unit(benchmark::kMillisecond);
BENCHMARK(WordWise<Volume::Typical>)->Name("TypicalFragmentation/WordWise")->Unit(benchmark::kMillisecond);
BENCHMARK(BitByBit<Volume::LongFreeRuns>)->Name("LongFreeRuns/BitByBit")->Unit(benchmark::kMillisecond);
BENCHMARK(WordWise<Volume::LongFreeRuns>)->Name("LongFreeRuns/WordWise")->Unit(benchmark::kMillisecond);
BENCHMARK(BitByBit<Volume::Alternating>)->Name("AlternatingClusters/BitByBit")->Unit(benchmark::kMillisecond);
BENCHMARK(WordWise<Volume::Alternating>)->Name("AlternatingClusters/WordWise")->Unit(benchmark::kMillisecond);

}  // namespace
