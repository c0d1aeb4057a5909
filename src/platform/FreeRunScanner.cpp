#include "platform/FreeRunScanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

// Eight bitmap bytes read as one word keep cluster order only on a little-endian machine, which
// every Windows target is.
static_assert(std::endian::native == std::endian::little);

namespace {

// Whether freeBits holds a run of at least length set bits (length 1 to 64).
bool HasRunOf(std::uint64_t freeBits, unsigned length)
{
    // Invariant: a bit is still set where a run of `have` set bits starts.
    unsigned have = 1;
    while (freeBits != 0 && have * 2 <= length) {
        freeBits &= freeBits >> have;
        have *= 2;
    }
    if (freeBits != 0 && have < length) {
        freeBits &= freeBits >> (length - have);
    }
    return freeBits != 0;
}

unsigned LongestRunIn(std::uint64_t freeBits)
{
    unsigned longest = 0;
    while (freeBits != 0) {
        freeBits &= freeBits >> 1;
        ++longest;
    }
    return longest;
}

}  // namespace

// A word at a time, without branches in the common case: the free clusters at the low end extend
// the run in progress, those at the high end start the next one (or, if the whole word is free,
// extend it by the width), and runs wholly inside the word matter only while the best run is
// shorter than a word, which on a real volume lasts a few words at most.
void FreeRunScanner::ScanWord(std::uint64_t freeBits, unsigned width, std::int64_t& run, std::int64_t& best)
{
    const std::uint64_t all = width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
    const auto low = static_cast<unsigned>(std::countr_one(freeBits));
    best = std::max(best, run + low);
    if (best < 64 && low < width) [[unlikely]] {
        const std::uint64_t inside = freeBits & ~((std::uint64_t{1} << low) - 1);
        if (inside != 0 && HasRunOf(inside, static_cast<unsigned>(best) + 1)) {
            best = LongestRunIn(inside);
        }
    }
    const auto high = static_cast<std::int64_t>(std::countl_one(freeBits << (64 - width)));
    run = freeBits == all ? run + width : high;
}

std::int64_t FreeRunScanner::ScanLongRuns(const std::uint8_t* words, std::size_t count, std::int64_t run,
                                          std::int64_t& best)
{
    const auto word = [words](std::size_t index) {
        std::uint64_t used = 0;
        std::memcpy(&used, words + index * 8, 8);
        return used;
    };
    // The run in progress goes on through the free words at the start.
    std::size_t first = 0;
    while (word(first) == 0) {
        ++first;
    }
    best = std::max(best, run + static_cast<std::int64_t>(first) * 64 + std::countr_zero(word(first)));
    std::size_t last = count - 1;
    while (word(last) == 0) {
        --last;
    }
    // Between the first and the last word with a cluster in use, a run that is longer than the
    // best one (at least 126 clusters) holds at least `stride` free words in a row, and so one of
    // every stride-th word from where the search goes on: only those words are looked at, and
    // each free one is followed out to both ends of its run.
    std::size_t next = first + 1;
    for (;;) {
        const auto stride = static_cast<std::size_t>((best + 2) / 64 - 1);
        std::size_t candidate = next + stride - 1;
        while (candidate < last && word(candidate) != 0) {
            candidate += stride;
        }
        if (candidate >= last) {
            break;
        }
        std::size_t begin = candidate;
        while (word(begin - 1) == 0) {
            --begin;
        }
        std::size_t end = candidate;
        while (word(end + 1) == 0) {
            ++end;
        }
        best = std::max(best, std::countl_zero(word(begin - 1)) + static_cast<std::int64_t>(end - begin + 1) * 64 +
                                  std::countr_zero(word(end + 1)));
        next = end + 2;
    }
    run = static_cast<std::int64_t>(count - 1 - last) * 64 + std::countl_zero(word(last));
    best = std::max(best, run);
    return run;
}

void FreeRunScanner::Scan(std::span<const std::uint8_t> bitmap, std::int64_t& lcn)
{
    std::int64_t run = run_;
    std::int64_t best = best_;
    const std::size_t words = bitmap.size() / 8;
    constexpr std::size_t Batch = 64;
    constexpr std::size_t Chunk = 8;
    // Every element is written before it is read.
    std::array<std::int64_t, Batch> low;
    std::array<std::int64_t, Batch> high;
    std::size_t word = 0;
    for (; word + Batch <= words; word += Batch) {
        const std::uint8_t* const batch = bitmap.data() + word * 8;
        // Most of a volume lies in long stretches that are wholly in use or wholly free, and such
        // a batch is settled by its words taken together. A fragmented batch usually shows that
        // it is neither in its first few words.
        std::uint64_t anyUsed = 0;
        std::uint64_t allUsed = ~std::uint64_t{0};
        for (std::size_t chunk = 0; chunk < Batch && (anyUsed == 0 || allUsed == ~std::uint64_t{0}); chunk += Chunk) {
            for (std::size_t i = chunk; i < chunk + Chunk; ++i) {
                std::uint64_t used = 0;
                std::memcpy(&used, batch + i * 8, 8);
                anyUsed |= used;
                allUsed &= used;
            }
        }
        if (anyUsed == 0) {
            run += static_cast<std::int64_t>(Batch) * 64;
            best = std::max(best, run);
            continue;
        }
        if (allUsed == ~std::uint64_t{0}) {
            best = std::max(best, run);
            run = 0;
            continue;
        }
        if (best < 64) {
            for (std::size_t i = 0; i < Batch; ++i) {
                std::uint64_t used = 0;
                std::memcpy(&used, batch + i * 8, 8);
                ScanWord(~used, 64, run, best);
            }
            continue;
        }
        if (best >= LongRunsFrom) {
            run = ScanLongRuns(batch, Batch, run, best);
            continue;
        }
        // Once the best run is a word long, no run inside a word can beat it, and a word matters
        // only through the free clusters at its two ends. Those are counted for the batch first,
        // independently of each other, and then chained, so the processor overlaps the counting.
        for (std::size_t i = 0; i < Batch; ++i) {
            std::uint64_t used = 0;
            std::memcpy(&used, batch + i * 8, 8);
            low[i] = std::countr_zero(used);
            // A free word reads as -1: it continues the run instead of starting one. Free words
            // are rare here, since runs that hold them soon make the best run long enough for
            // ScanLongRuns, so the branch on them is well predicted.
            high[i] = used == 0 ? -1 : std::countl_zero(used);
        }
        for (std::size_t i = 0; i < Batch; ++i) {
            best = std::max(best, run + low[i]);
            run = high[i] < 0 ? run + 64 : high[i];
        }
    }
    for (; word < words; ++word) {
        std::uint64_t used = 0;
        std::memcpy(&used, bitmap.data() + word * 8, 8);
        ScanWord(~used, 64, run, best);
    }
    if (const std::size_t tail = bitmap.size() - words * 8; tail != 0) {
        std::uint64_t used = 0;
        for (std::size_t i = 0; i < tail; ++i) {
            used |= std::uint64_t{bitmap[words * 8 + i]} << (8 * i);
        }
        const auto width = static_cast<unsigned>(tail * 8);
        ScanWord(~used & ((std::uint64_t{1} << width) - 1), width, run, best);
    }
    run_ = run;
    best_ = best;
    lcn += static_cast<std::int64_t>(bitmap.size()) * 8;
}
