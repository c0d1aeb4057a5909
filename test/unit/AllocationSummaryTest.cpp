// The capture's summary of an allocation bitmap, replayed through the simulated volume's
// allocation: the check must measure the same longest free run on the replay, the volume must
// keep its free clusters, and summarising the replay must give the summary back.

#include "capture/AllocationSummary.h"
#include "support/BitByBitFreeRun.h"
#include "winapi/simulated/storage/ClusterAllocation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using winapi::sim::ClusterAllocation;
using Kind = AllocationSummary::Run::Kind;

std::vector<AllocationSummary::Run> Summarise(const std::vector<std::uint8_t>& bitmap, std::uint64_t clusters)
{
    AllocationSummary summary(clusters);
    for (std::uint64_t bit = 0; bit < clusters; ++bit) {
        summary.Add((bitmap[bit / 8] >> (bit % 8) & 1) != 0, 1);
    }
    return summary.Runs();
}

// The summary as the replay turns it into a bitmap.
std::vector<std::uint8_t> Replay(const std::vector<AllocationSummary::Run>& runs, std::uint64_t clusters)
{
    std::vector<ClusterAllocation::Run> allocation;
    for (const AllocationSummary::Run& run : runs) {
        ClusterAllocation::Run& replayed = allocation.emplace_back();
        replayed.state = run.kind == Kind::Used   ? ClusterAllocation::Run::State::Used
                         : run.kind == Kind::Free ? ClusterAllocation::Run::State::Free
                                                  : ClusterAllocation::Run::State::Repeated;
        replayed.length = run.kind == Kind::Repeated ? run.clusters * (run.freeRun + run.usedRun) : run.clusters;
        replayed.repetition = {run.freeRun, run.usedRun};
    }
    std::vector<std::uint8_t> bitmap((clusters + 7) / 8);
    ClusterAllocation::FromRuns(allocation).FillBitmap(0, clusters, bitmap);
    return bitmap;
}

// What the check measures: whole bytes only, as it reads them.
std::int64_t MeasuredRun(const std::vector<std::uint8_t>& bitmap, std::uint64_t clusters)
{
    BitByBitFreeRun scan;
    std::int64_t lcn = 0;
    scan.Scan(std::span(bitmap).first(static_cast<std::size_t>(clusters / 8)), lcn);
    return scan.best;
}

std::uint64_t FreeClusters(const std::vector<std::uint8_t>& bitmap, std::uint64_t clusters)
{
    std::uint64_t free = 0;
    for (std::uint64_t bit = 0; bit < clusters; ++bit) {
        free += (bitmap[bit / 8] >> (bit % 8) & 1) == 0 ? 1u : 0u;
    }
    return free;
}

// Alternating runs drawn from a seeded generator, the last one running to the end of the volume.
std::vector<std::uint8_t> RandomBitmap(std::uint32_t seed, std::uint64_t clusters, unsigned longestFree,
                                       unsigned longestUsed)
{
    std::vector<std::uint8_t> bitmap((clusters + 7) / 8, 0);
    std::mt19937 generator(seed);
    bool used = (generator() & 1) != 0;
    for (std::uint64_t bit = 0; bit < clusters;) {
        const std::uint64_t length = 1 + generator() % (used ? longestUsed : longestFree);
        for (std::uint64_t end = std::min(clusters, bit + length); bit < end; ++bit) {
            if (used) {
                bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] | (1u << (bit % 8)));
            }
        }
        used = !used;
    }
    return bitmap;
}

void ExpectReplayAgrees(const std::vector<std::uint8_t>& bitmap, std::uint64_t clusters)
{
    const std::vector<AllocationSummary::Run> runs = Summarise(bitmap, clusters);
    const std::vector<std::uint8_t> replay = Replay(runs, clusters);
    EXPECT_EQ(MeasuredRun(replay, clusters), MeasuredRun(bitmap, clusters));
    EXPECT_EQ(FreeClusters(replay, clusters), FreeClusters(bitmap, clusters));
    // The clusters the check never reads are kept as they are.
    for (std::uint64_t bit = clusters - clusters % 8; bit < clusters; ++bit) {
        EXPECT_EQ(replay[bit / 8] >> (bit % 8) & 1, bitmap[bit / 8] >> (bit % 8) & 1) << bit;
    }
    const std::vector<AllocationSummary::Run> again = Summarise(replay, clusters);
    ASSERT_EQ(again.size(), runs.size());
    for (std::size_t index = 0; index < runs.size(); ++index) {
        EXPECT_EQ(again[index].kind, runs[index].kind) << index;
        EXPECT_EQ(again[index].clusters, runs[index].clusters) << index;
        EXPECT_EQ(again[index].freeRun, runs[index].freeRun) << index;
    }
}

TEST(AllocationSummaryTest, AFragmentedVolumeReplaysWithItsLongestRunAndFreeClustersInFewRuns)
{
    for (const std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        // Tens of thousands of runs; the cluster count leaves 0, 3 or 7 clusters unread.
        for (const std::uint64_t clusters : {400000u, 400003u, 400007u}) {
            const std::vector<std::uint8_t> bitmap = RandomBitmap(seed, clusters, 40, 20);
            ExpectReplayAgrees(bitmap, clusters);
            EXPECT_LE(Summarise(bitmap, clusters).size(), 6 * AllocationSummary::KeptFreeRuns + 11);
        }
    }
}

TEST(AllocationSummaryTest, AVolumeOfFewFreeRunsIsKeptAsItIs)
{
    std::vector<std::uint8_t> bitmap(100, 0xFF);
    bitmap[3] = 0x0F;   // clusters 28 to 31 free
    bitmap[10] = 0x00;  // 80 to 87
    bitmap[11] = 0xFE;  // 88: a run of nine
    const std::vector<AllocationSummary::Run> runs = Summarise(bitmap, 800);
    const std::vector<std::pair<Kind, std::uint64_t>> expected{
        {Kind::Used, 28}, {Kind::Free, 4}, {Kind::Used, 48}, {Kind::Free, 9}};
    ASSERT_EQ(runs.size(), expected.size());
    for (std::size_t index = 0; index < runs.size(); ++index) {
        EXPECT_EQ(runs[index].kind, expected[index].first);
        EXPECT_EQ(runs[index].clusters, expected[index].second);
    }
}

TEST(AllocationSummaryTest, AFreeRunIntoTheUnreadClustersCountsOnlyUpToThem)
{
    // The longest run ends in the last three clusters, which the check never reads: the next
    // longest decides, and each of the two must keep its length as the check sees it.
    const std::uint64_t clusters = 200003;
    std::vector<std::uint8_t> bitmap = RandomBitmap(9, clusters, 30, 30);
    for (std::uint64_t bit = 100000; bit < 100100; ++bit) {
        bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] & ~(1u << (bit % 8)));
    }
    for (const std::uint64_t bit : {99999u, 100100u}) {
        bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] | (1u << (bit % 8)));
    }
    for (std::uint64_t bit = clusters - 102; bit < clusters; ++bit) {
        bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] & ~(1u << (bit % 8)));
    }
    bitmap[(clusters - 103) / 8] =
        static_cast<std::uint8_t>(bitmap[(clusters - 103) / 8] | (1u << ((clusters - 103) % 8)));
    ASSERT_EQ(MeasuredRun(bitmap, clusters), 100);
    ExpectReplayAgrees(bitmap, clusters);
    // All free, all used, and a volume smaller than a byte.
    ExpectReplayAgrees(std::vector<std::uint8_t>(1000, 0), 8000);
    ExpectReplayAgrees(std::vector<std::uint8_t>(1000, 0xFF), 7999);
    ExpectReplayAgrees(std::vector<std::uint8_t>{0x15}, 5);
}

}  // namespace
