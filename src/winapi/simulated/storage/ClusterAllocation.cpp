#include "winapi/simulated/storage/ClusterAllocation.h"

#include "winapi/simulated/storage/FixedDivisor.h"

#include <algorithm>
#include <cstring>

namespace winapi::sim {

namespace {

// Fragmentation is generated block by block, each block from its own seed, so a slice anywhere
// on the volume costs no more than the blocks it touches.
constexpr std::uint64_t FragmentBlockClusters = std::uint64_t{1} << 16;

std::uint64_t SplitMix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

// Sets the bits begin to end (exclusive) of bitmap: the partial bytes at either end by a mask, the
// whole bytes between them at once. A fleet replay spends much of its time here.
void MarkUsed(std::span<BYTE> bitmap, std::uint64_t begin, std::uint64_t end)
{
    if (begin >= end) {
        return;
    }
    const std::uint64_t firstByte = begin / 8;
    const std::uint64_t lastByte = (end - 1) / 8;
    const unsigned headMask = 0xFFu << (begin % 8);
    const unsigned tailMask = 0xFFu >> (7 - (end - 1) % 8);
    if (firstByte == lastByte) {
        bitmap[firstByte] = static_cast<BYTE>(bitmap[firstByte] | (headMask & tailMask));
        return;
    }
    bitmap[firstByte] = static_cast<BYTE>(bitmap[firstByte] | headMask);
    std::memset(bitmap.data() + firstByte + 1, 0xFF, lastByte - firstByte - 1);
    bitmap[lastByte] = static_cast<BYTE>(bitmap[lastByte] | tailMask);
}

// Marks the used clusters of a repeated stretch [begin, end) of the volume, whose first repetition
// starts at cluster start, in bitmap, which starts at cluster origin.
void FillRepeated(const ClusterAllocation::Repetition& repetition, std::uint64_t start, std::uint64_t begin,
                  std::uint64_t end, std::uint64_t origin, std::span<BYTE> bitmap)
{
    const std::uint64_t period = repetition.freeRun + repetition.usedRun;
    for (std::uint64_t cluster = start + (begin - start) / period * period; cluster < end; cluster += period) {
        const std::uint64_t usedBegin = std::max(cluster + repetition.freeRun, begin);
        const std::uint64_t usedEnd = std::min(cluster + period, end);
        if (usedBegin < usedEnd) {
            MarkUsed(bitmap, usedBegin - origin, usedEnd - origin);
        }
    }
}

}  // namespace

// Marks the used clusters of the fragmented stretch [begin, end) of run index in bitmap, which
// starts at cluster origin. Each block's runs are drawn from its own seed in order; the cursor
// keeps the run that the last slice stopped in, so a slice that goes on from there draws only its
// own runs, not its block's again from the block's first cluster.
void ClusterAllocation::FillFragmented(std::size_t index, std::uint64_t begin, std::uint64_t end, std::uint64_t origin,
                                       std::span<BYTE> bitmap) const
{
    const Fragmentation& fragmentation = runs_[index].fragmentation;
    // A run's length is 1 + a draw modulo 2 * mean - 1: from 1 to 2 * mean - 1, mean on average.
    const FixedDivisor usedLengths(2 * std::uint64_t{std::max<std::uint32_t>(fragmentation.meanUsedRun, 1)} - 1);
    const FixedDivisor freeLengths(2 * std::uint64_t{std::max<std::uint32_t>(fragmentation.meanFreeRun, 1)} - 1);
    // A copy that the compiler can keep in registers: any byte of the bitmap could otherwise be
    // the cursor's own.
    FragmentCursor cursor = cursor_;
    const auto draw = [&cursor](const FixedDivisor& lengths, std::uint64_t blockEnd) {
        cursor.used = !cursor.used;
        cursor.runBegin = cursor.runEnd;
        cursor.runEnd = std::min(cursor.runBegin + 1 + lengths.Remainder(SplitMix64(cursor.state)), blockEnd);
    };
    std::uint64_t cluster = begin;
    while (cluster < end) {
        const std::uint64_t block = cluster / FragmentBlockClusters;
        const std::uint64_t blockEnd = (block + 1) * FragmentBlockClusters;
        if (cursor.run != index || cursor.block != block || cursor.runBegin > cluster) {
            cursor = FragmentCursor{index,
                                    block,
                                    fragmentation.seed ^ (block * 0xD6E8FEB86659FD93u),
                                    block * FragmentBlockClusters,
                                    block * FragmentBlockClusters,
                                    false};
            // The block's first draw says whether its first run is used; used flips before each run.
            cursor.used = (SplitMix64(cursor.state) & 1) == 0;
        }
        // On to the run that holds cluster, then run after run until the stretch or the block ends.
        while (cursor.runEnd <= cluster) {
            draw(cursor.used ? freeLengths : usedLengths, blockEnd);
        }
        const std::uint64_t limit = std::min(end, blockEnd);
        for (;;) {
            if (cursor.used) {
                MarkUsed(bitmap, cluster - origin, std::min(cursor.runEnd, end) - origin);
            }
            if (cursor.runEnd >= limit) {
                break;
            }
            cluster = cursor.runEnd;
            draw(cursor.used ? freeLengths : usedLengths, blockEnd);
        }
        cluster = std::min(cursor.runEnd, end);
    }
    cursor_ = cursor;
}

ClusterAllocation ClusterAllocation::FromRuns(std::vector<Run> runs)
{
    ClusterAllocation allocation;
    std::uint64_t start = 0;
    for (const Run& run : runs) {
        allocation.runStarts_.push_back(start);
        // Runs that reach past the last cluster number all start there, so the starts stay in order.
        start += std::min(run.length, UINT64_MAX - start);
    }
    allocation.runs_ = std::move(runs);
    return allocation;
}

ClusterAllocation ClusterAllocation::Fragmented(std::uint64_t seed, std::uint32_t meanUsedRun,
                                                std::uint32_t meanFreeRun)
{
    return FromRuns({Run{Run::State::Fragmented, UINT64_MAX, Fragmentation{seed, meanUsedRun, meanFreeRun}, {}}});
}

void ClusterAllocation::FillBitmap(std::uint64_t firstCluster, std::uint64_t clusterCount, std::span<BYTE> bitmap) const
{
    std::ranges::fill(bitmap, BYTE{0});
    const std::uint64_t bits = std::uint64_t{bitmap.size()} * 8;
    const std::uint64_t count = firstCluster >= clusterCount ? 0 : std::min(bits, clusterCount - firstCluster);
    const std::uint64_t last = firstCluster + count;
    // The first run that ends after firstCluster.
    const auto next = std::ranges::upper_bound(runStarts_, firstCluster);
    std::size_t index = next == runStarts_.begin() ? 0 : static_cast<std::size_t>(next - runStarts_.begin() - 1);
    std::uint64_t covered = firstCluster;
    for (; index < runs_.size() && runStarts_[index] < last; ++index) {
        const Run& run = runs_[index];
        const std::uint64_t begin = std::max(runStarts_[index], firstCluster);
        const std::uint64_t end = run.length > last - runStarts_[index] ? last : runStarts_[index] + run.length;
        if (begin < end && run.state == Run::State::Used) {
            MarkUsed(bitmap, begin - firstCluster, end - firstCluster);
        } else if (begin < end && run.state == Run::State::Fragmented) {
            FillFragmented(index, begin, end, firstCluster, bitmap);
        } else if (begin < end && run.state == Run::State::Repeated) {
            FillRepeated(run.repetition, runStarts_[index], begin, end, firstCluster, bitmap);
        }
        covered = std::max(covered, end);
    }
    // Past the last run, and past the end of the volume, every cluster is in use.
    MarkUsed(bitmap, covered - firstCluster, bits);
}

}  // namespace winapi::sim
