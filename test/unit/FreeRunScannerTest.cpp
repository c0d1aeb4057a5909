// The word-wise longest-free-run scanner gives the bit-by-bit answer on every bitmap, however
// the bitmap is cut into slices.

#include "platform/FreeRunScanner.h"
#include "support/BitByBitFreeRun.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Used and free runs by turns, the first one either, each as long as runLength says for its kind.
template <typename RunLength>
std::vector<std::uint8_t> AlternatingRuns(std::mt19937_64& random, std::size_t bytes, RunLength runLength)
{
    std::vector<std::uint8_t> bitmap(bytes, 0);
    std::size_t bit = 0;
    bool used = (random() & 1) != 0;
    while (bit < bytes * 8) {
        const std::size_t length = runLength(used);
        for (std::size_t i = 0; i < length && bit < bytes * 8; ++i, ++bit) {
            if (used) {
                bitmap[bit / 8] = static_cast<std::uint8_t>(bitmap[bit / 8] | (1u << (bit % 8)));
            }
        }
        used = !used;
    }
    return bitmap;
}

std::vector<std::uint8_t> RandomBitmap(std::mt19937_64& random, std::size_t bytes)
{
    // Runs of varied length, so that long free runs, single clusters and whole words all occur.
    std::geometric_distribution<std::size_t> shortRun(0.3);
    std::geometric_distribution<std::size_t> longRun(0.005);
    return AlternatingRuns(random, bytes,
                           [&](bool) { return 1 + ((random() % 4 == 0) ? longRun(random) : shortRun(random)); });
}

TEST(FreeRunScannerTest, AgreesWithTheBitLoopOnRandomBitmapsAndSlices)
{
    std::mt19937_64 random(20261206);
    for (int round = 0; round < 400; ++round) {
        // Up to a few whole slices' worth, so both short pieces and long runs of words are scanned.
        const std::vector<std::uint8_t> bitmap = RandomBitmap(random, 1 + random() % 6000);
        FreeRunScanner scanner;
        BitByBitFreeRun reference;
        std::int64_t lcn = 0;
        std::int64_t referenceLcn = 0;
        for (std::size_t offset = 0; offset < bitmap.size();) {
            const std::size_t wanted = random() % 3 == 0 ? random() % 3000 : random() % 40;
            const std::size_t length = std::min<std::size_t>(bitmap.size() - offset, wanted);
            const std::span slice(bitmap.data() + offset, length);
            scanner.Scan(slice, lcn);
            reference.Scan(slice, referenceLcn);
            offset += length;
        }
        ASSERT_EQ(scanner.LongestRun(), reference.best) << "round " << round;
        ASSERT_EQ(lcn, referenceLcn);
    }
}

// Stretches of a volume as the contiguous-space check meets them: fragmentation whose free runs
// are up to a few words long, so that a best run of 126 clusters and more is beaten only by runs
// that hold whole free words, and, on some volumes, wholly used or wholly free stretches of whole
// batches of words between them.
std::vector<std::uint8_t> VolumeLikeBitmap(std::mt19937_64& random, std::size_t bytes, bool longStretches)
{
    const std::size_t longestFree = 1 + random() % 500;
    const std::size_t longestUsed = 1 + random() % 500;
    return AlternatingRuns(random, bytes, [&](bool used) {
        return longStretches && random() % 50 == 0 ? 1 + random() % 40000
                                                   : 1 + random() % (used ? longestUsed : longestFree);
    });
}

TEST(FreeRunScannerTest, AgreesWithTheBitLoopOnVolumeLikeBitmapsReadInSlices)
{
    std::mt19937_64 random(20261207);
    for (int round = 0; round < 300; ++round) {
        const std::vector<std::uint8_t> bitmap = VolumeLikeBitmap(random, 1 + random() % 60000, round % 3 == 0);
        // The check's own slices, or pieces cut anywhere.
        const bool checkSlices = round % 2 == 0;
        FreeRunScanner scanner;
        BitByBitFreeRun reference;
        std::int64_t lcn = 0;
        std::int64_t referenceLcn = 0;
        for (std::size_t offset = 0; offset < bitmap.size();) {
            const std::size_t wanted = checkSlices ? 10000 : 1 + random() % 12000;
            const std::size_t length = std::min<std::size_t>(bitmap.size() - offset, wanted);
            const std::span slice(bitmap.data() + offset, length);
            scanner.Scan(slice, lcn);
            reference.Scan(slice, referenceLcn);
            ASSERT_EQ(scanner.LongestRun(), reference.best) << "round " << round << ", after byte " << offset + length;
            offset += length;
        }
        ASSERT_EQ(lcn, referenceLcn);
    }
}

TEST(FreeRunScannerTest, RunsAreCarriedAcrossSlicesAndWords)
{
    // Free from bit 60 of the first word to bit 3 of the second, cut between the two.
    std::vector<std::uint8_t> bitmap(16, 0xFF);
    bitmap[7] = 0x0F;
    bitmap[8] = 0xF0;
    FreeRunScanner scanner;
    std::int64_t lcn = 100;
    scanner.Scan(std::span(bitmap).first(7), lcn);
    scanner.Scan(std::span(bitmap).subspan(7, 3), lcn);
    scanner.Scan(std::span(bitmap).subspan(10), lcn);
    EXPECT_EQ(scanner.LongestRun(), 8);
    EXPECT_EQ(lcn, 100 + 16 * 8);

    FreeRunScanner allFree;
    const std::vector<std::uint8_t> free(1000, 0);
    lcn = 0;
    allFree.Scan(free, lcn);
    allFree.Scan(free, lcn);
    EXPECT_EQ(allFree.LongestRun(), 16000);

    // Whole batches of free words, with nothing after them in the slice.
    FreeRunScanner freeBatches;
    freeBatches.Scan(std::vector<std::uint8_t>(4096, 0), lcn);
    EXPECT_EQ(freeBatches.LongestRun(), 4096 * 8);

    FreeRunScanner allUsed;
    allUsed.Scan(std::vector<std::uint8_t>(1000, 0xFF), lcn);
    EXPECT_EQ(allUsed.LongestRun(), 0);
}

TEST(FreeRunScannerTest, RunInsideAWordBeatsShorterRunsAtItsEnds)
{
    // Used at both ends, 40 free clusters in the middle.
    const std::uint64_t word = ~(((std::uint64_t{1} << 40) - 1) << 12);
    std::vector<std::uint8_t> bitmap(8);
    for (std::size_t i = 0; i < 8; ++i) {
        bitmap[i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
    FreeRunScanner scanner;
    std::int64_t lcn = 0;
    scanner.Scan(bitmap, lcn);
    EXPECT_EQ(scanner.LongestRun(), 40);
}

}  // namespace
