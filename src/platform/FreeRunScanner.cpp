#include "platform/FreeRunScanner.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Eight bitmap bytes read as one word keep cluster order only on a little-endian machine, which
// every Windows target is.
static_assert(std::endian::native == std::endian::little);

namespace {

// Whether freeBits holds a run of at least length set bits (length 1 to 64).
bool HasRunOf(std::uint64_t freeBits, unsigned length)
{
    // After shifting by `have` in total, a set bit marks the start of `have` + 1 set bits.
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

// Whole words at a time: a free word extends the run by its width, a used word ends it, and a
// mixed one needs only its two ends and, when it could beat the best run, its inside.
void FreeRunScanner::ScanWord(std::uint64_t freeBits, unsigned width)
{
    const std::uint64_t all = width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
    if (freeBits == all) {
        run_ += width;
        best_ = std::max(best_, run_);
        return;
    }
    if (freeBits == 0) {
        run_ = 0;
        return;
    }
    const auto low = static_cast<unsigned>(std::countr_one(freeBits));
    best_ = std::max(best_, run_ + low);
    // The runs that start inside this word; the low run is counted already.
    const std::uint64_t rest = freeBits & ~((std::uint64_t{1} << low) - 1);
    if (best_ < 64 && rest != 0 && HasRunOf(rest, static_cast<unsigned>(best_) + 1)) {
        best_ = LongestRunIn(rest);
    }
    // The free clusters at the top end of the word carry into the next one.
    run_ = std::countl_one(freeBits << (64 - width));
}

void FreeRunScanner::Scan(std::span<const std::uint8_t> bitmap, std::int64_t& lcn)
{
    std::size_t offset = 0;
    for (; offset + 8 <= bitmap.size(); offset += 8) {
        std::uint64_t used = 0;
        std::memcpy(&used, bitmap.data() + offset, 8);
        ScanWord(~used, 64);
    }
    if (offset < bitmap.size()) {
        std::uint64_t used = 0;
        const std::size_t tail = bitmap.size() - offset;
        for (std::size_t i = 0; i < tail; ++i) {
            used |= std::uint64_t{bitmap[offset + i]} << (8 * i);
        }
        const auto width = static_cast<unsigned>(tail * 8);
        ScanWord(~used & ((std::uint64_t{1} << width) - 1), width);
    }
    lcn += static_cast<std::int64_t>(bitmap.size()) * 8;
}
