#pragma once
// The longest run of free clusters in a volume's allocation bitmap, read slice by slice. A run
// that crosses from one slice into the next is counted whole.

#include <cstdint>
#include <span>

class FreeRunScanner {
public:
    // Scans the bytes of one slice in order, least significant bit first (bit set = cluster in
    // use), and advances lcn by one per bit.
    void Scan(std::span<const std::uint8_t> bitmap, std::int64_t& lcn);

    [[nodiscard]] std::int64_t LongestRun() const { return best_; }

private:
    static void ScanWord(std::uint64_t freeBits, unsigned width, std::int64_t& run, std::int64_t& best);

    std::int64_t run_ = 0;
    std::int64_t best_ = 0;
};
