#pragma once
// The longest run of free clusters in a volume's allocation bitmap, read slice by slice. A run
// that crosses from one slice into the next is counted whole.

#include <cstddef>
#include <cstdint>
#include <span>

class FreeRunScanner {
public:
    // Scans the bytes of one slice in order, least significant bit first (bit set = cluster in
    // use), and advances lcn by one per bit.
    void Scan(std::span<const std::uint8_t> bitmap, std::int64_t& lcn);

    [[nodiscard]] std::int64_t LongestRun() const { return best_; }

private:
    // From this best run on, a longer run cannot lie within two neighbouring words that each hold
    // a cluster in use (at most 63 + 63 free clusters), so it must hold a whole free word.
    static constexpr std::int64_t LongRunsFrom = 126;

    // Scans count whole words, at least one of them with a cluster in use, once best is at least
    // LongRunsFrom, looking only at the free words that a longer run would have to hold; returns
    // the run in progress at the end.
    static std::int64_t ScanLongRuns(const std::uint8_t* words, std::size_t count, std::int64_t run,
                                     std::int64_t& best);
    static void ScanWord(std::uint64_t freeBits, unsigned width, std::int64_t& run, std::int64_t& best);

    std::int64_t run_ = 0;
    std::int64_t best_ = 0;
};
