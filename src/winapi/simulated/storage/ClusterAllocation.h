#pragma once
// Which clusters of a simulated volume are in use, described compactly so that a volume of
// several terabytes costs a few bytes: either a list of runs from cluster 0, or a seeded random
// fragmentation that any part of the volume can be produced from on its own. Slices of the
// allocation bitmap are made on demand.

#include "winapi/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace winapi::sim {

class ClusterAllocation {
public:
    // Alternating used and free runs whose lengths are drawn evenly from 1 to twice the mean,
    // from a generator seeded by seed and the block of clusters they lie in.
    struct Fragmentation {
        std::uint64_t seed = 0;
        std::uint32_t meanUsedRun = 1;
        std::uint32_t meanFreeRun = 1;
    };

    // A free run of freeRun clusters followed by a used run of usedRun clusters, over and over: a
    // capture's summary of the many short runs between the long ones.
    struct Repetition {
        std::uint64_t freeRun = 1;
        std::uint64_t usedRun = 1;
    };

    struct Run {
        enum class State { Used, Free, Fragmented, Repeated };
        // Most runs have neither a fragmentation nor a repetition and need not name one.
        Run() = default;
        Run(State runState, std::uint64_t runLength) : state(runState), length(runLength) {}
        Run(State runState, std::uint64_t runLength, Fragmentation runFragmentation)
            : state(runState), length(runLength), fragmentation(runFragmentation)
        {
        }
        Run(State runState, std::uint64_t runLength, Fragmentation runFragmentation, Repetition runRepetition)
            : state(runState), length(runLength), fragmentation(runFragmentation), repetition(runRepetition)
        {
        }

        State state = State::Used;
        // Clusters; for a repeated run, freeRun + usedRun times the number of repetitions.
        std::uint64_t length = 0;
        Fragmentation fragmentation;
        Repetition repetition;
    };

    // Every cluster in use.
    ClusterAllocation() = default;
    // The runs from cluster 0 on; clusters after the last run are in use.
    static ClusterAllocation FromRuns(std::vector<Run> runs);
    // The whole volume fragmented.
    static ClusterAllocation Fragmented(std::uint64_t seed, std::uint32_t meanUsedRun, std::uint32_t meanFreeRun);

    // Fills bitmap with one bit per cluster from firstCluster on (bit set = in use, least
    // significant bit first). Clusters at or past clusterCount read as in use.
    void FillBitmap(std::uint64_t firstCluster, std::uint64_t clusterCount, std::span<BYTE> bitmap) const;

private:
    // Where the generation of a fragmented run stopped: the run of a block's drawn runs that covers
    // the last cluster filled, and the generator's state after drawing it.
    struct FragmentCursor {
        std::size_t run = SIZE_MAX;  // none yet
        std::uint64_t block = 0;
        std::uint64_t state = 0;
        std::uint64_t runBegin = 0;
        std::uint64_t runEnd = 0;
        bool used = false;
    };

    void FillFragmented(std::size_t index, std::uint64_t begin, std::uint64_t end, std::uint64_t origin,
                        std::span<BYTE> bitmap) const;

    std::vector<Run> runs_;
    // First cluster of each run, for a binary search.
    std::vector<std::uint64_t> runStarts_;
    // The contiguous-space check reads a volume's slices one after the other, so each slice
    // usually goes on where the previous one stopped.
    mutable FragmentCursor cursor_;
};

}  // namespace winapi::sim
