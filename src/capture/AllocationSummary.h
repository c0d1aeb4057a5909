#pragma once
// A volume's allocation bitmap boiled down to what the contiguous-space check can observe of it,
// in a size that does not grow with fragmentation. The check measures one thing: the longest
// free run among the clusters it reads, which are all but the last (cluster count mod 8) of the
// volume, since it reads whole bytes of the bitmap. The summary keeps, at their real places:
// - the longest free runs (up to KeptFreeRuns of them, the earliest first among equals);
// - the last clusters that the check never reads, one by one;
// and between two kept runs, one stretch with its real number of clusters, of free clusters and
// of free runs, laid out again as free runs of even length, none longer than the shortest kept
// run. The longest free run the check measures, the number of free clusters and the clusters'
// count are therefore exactly those of the volume, and summarising a summary gives it back.

#include <cstdint>
#include <vector>

class AllocationSummary {
public:
    // How many of the longest free runs keep their place: enough for a reader to see where the
    // room is, few enough that a volume's summary stays a few kilobytes.
    static constexpr std::size_t KeptFreeRuns = 32;

    // One run of the summary, from cluster 0 on: used or free clusters, or a free and a used run
    // repeated.
    struct Run {
        enum class Kind { Used, Free, Repeated };
        Kind kind = Kind::Used;
        // Used or free: the clusters; repeated: how many times freeRun + usedRun come.
        std::uint64_t clusters = 0;
        std::uint64_t freeRun = 0;
        std::uint64_t usedRun = 0;
    };

    // clusters: the volume's cluster count, as the bitmap gives it from cluster 0.
    explicit AllocationSummary(std::uint64_t clusters);

    // The next length clusters of the bitmap, in volume order; neighbouring calls of the same
    // state make one run. Clusters past the count given are left out.
    void Add(bool used, std::uint64_t length);

    // The runs that stand for the bitmap, once every cluster is added; clusters in use at the end
    // of the volume are left out, since a replay counts every cluster after the last run in use.
    [[nodiscard]] std::vector<Run> Runs() const;

private:
    // A kept free run (free == clusters, runs == 1), or a stretch of the volume between two.
    struct Segment {
        bool kept = false;
        std::uint64_t clusters = 0;
        std::uint64_t freeClusters = 0;
        std::uint64_t freeRuns = 0;
    };

    // Ends the run in progress.
    void EndRun();
    void AddFreeRun(std::uint64_t length);
    void AddToStretch(std::uint64_t clusters, std::uint64_t freeClusters, std::uint64_t freeRuns);
    // Folds the shortest kept run (the latest among equals) into the stretches around it.
    void DropShortestKept();
    void AppendStretch(const Segment& stretch, bool afterKept, std::vector<Run>& runs) const;

    // The first cluster the check does not read.
    std::uint64_t readEnd_;
    std::uint64_t position_ = 0;
    bool runUsed_ = true;
    std::uint64_t runLength_ = 0;
    std::vector<Segment> segments_;
    std::size_t keptCount_ = 0;
    // The clusters from readEnd_ on, exactly: at most seven.
    std::uint64_t unreadCount_;
    std::vector<bool> unread_;
};
