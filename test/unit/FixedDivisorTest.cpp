// The division-free remainder the generated fragmentation draws its run lengths with gives what
// the division gives: at each end of the divisor's range and at the values around every multiple
// where an estimate one short would show.

#include "winapi/simulated/storage/FixedDivisor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using winapi::sim::FixedDivisor;

TEST(FixedDivisorTest, RemainderIsTheDivisionsAtTheEdges)
{
    const std::vector<std::uint64_t> divisors = {1,
                                                 2,
                                                 3,
                                                 7,
                                                 191,
                                                 383,
                                                 0xFFFFFFFFu,
                                                 0x100000000u,
                                                 0x100000001u,
                                                 std::uint64_t{1} << 63,
                                                 (std::uint64_t{1} << 63) + 1,
                                                 UINT64_MAX - 1,
                                                 UINT64_MAX};
    std::mt19937_64 random(20261207);
    for (const std::uint64_t divisor : divisors) {
        SCOPED_TRACE(divisor);
        const FixedDivisor fixed(divisor);
        std::vector<std::uint64_t> values = {0, 1, divisor - 1, divisor, UINT64_MAX, UINT64_MAX - 1};
        if (divisor < UINT64_MAX) {
            values.push_back(divisor + 1);
        }
        // Just below, at and above the largest multiples, where the reciprocal's error is largest.
        const std::uint64_t top = UINT64_MAX / divisor * divisor;
        for (const std::uint64_t near : {top - 1, top, top + 1 > top ? top + 1 : top}) {
            values.push_back(near);
        }
        for (int draw = 0; draw < 10000; ++draw) {
            values.push_back(random());
        }
        for (const std::uint64_t value : values) {
            ASSERT_EQ(fixed.Remainder(value), value % divisor) << "value " << value;
        }
    }
}

}  // namespace
