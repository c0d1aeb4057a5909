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

void FreeRunScanner::Scan(std::span<const std::uint8_t> bitmap, std::int64_t& lcn)
{
    std::int64_t run = run_;
    std::int64_t best = best_;
    const std::size_t words = bitmap.size() / 8;
    // Once the best run is a word long, no run inside a word can beat it, and a word matters only
    // through the free clusters at its two ends. Those are counted for a batch of words first,
    // independently of each other, and then chained, so the processor overlaps the counting.
    constexpr std::size_t Batch = 64;
    std::size_t word = 0;
    while (word < words && best < 64) {
        std::uint64_t used = 0;
        std::memcpy(&used, bitmap.data() + word * 8, 8);
        ScanWord(~used, 64, run, best);
        ++word;
    }
    std::array<std::int64_t, Batch> low{};
    std::array<std::int64_t, Batch> high{};
    while (word + Batch <= words) {
        for (std::size_t i = 0; i < Batch; ++i) {
            std::uint64_t used = 0;
            std::memcpy(&used, bitmap.data() + (word + i) * 8, 8);
            low[i] = std::countr_zero(used);
            // A free word reads as -1: it continues the run instead of starting one.
            high[i] = used == 0 ? -1 : std::countl_zero(used);
        }
        for (std::size_t i = 0; i < Batch; ++i) {
            best = std::max(best, run + low[i]);
            run = high[i] < 0 ? run + 64 : high[i];
        }
        word += Batch;
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
