#pragma once
// The longest free run measured one bit at a time, exactly as the contiguous-space check words
// it: the reference that the word-wise scanner must agree with, and the baseline of its benchmark.

#include <cstdint>
#include <span>

struct BitByBitFreeRun {
    std::int64_t run = 0;
    std::int64_t best = 0;

    void Scan(std::span<const std::uint8_t> bitmap, std::int64_t& lcn)
    {
        for (const std::uint8_t byte : bitmap) {
            for (unsigned mask = 1; mask <= 128; mask <<= 1) {
                if ((byte & mask) == 0) {
                    ++run;
                    if (run > best) {
                        best = run;
                    }
                } else {
                    run = 0;
                }
                ++lcn;
            }
        }
    }
};
