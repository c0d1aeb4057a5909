#pragma once
// The remainder of a division by a divisor that stays the same for many divisions, without a
// division instruction: the generated fragmentation draws every run length this way, and a fleet
// replay draws millions of them.
//
// The quotient estimated from the precomputed reciprocal floor((2^64 - 1) / divisor) is the true
// quotient or one less, since the reciprocal errs by less than one part in 2^64 / divisor, so one
// correction gives exactly value % divisor.

#include <cstdint>

namespace winapi::sim {

class FixedDivisor {
public:
    // divisor must not be 0.
    explicit FixedDivisor(std::uint64_t divisor) : divisor_(divisor), reciprocal_(UINT64_MAX / divisor) {}

    [[nodiscard]] std::uint64_t Remainder(std::uint64_t value) const
    {
        __extension__ using Wide = unsigned __int128;
        const auto quotient = static_cast<std::uint64_t>((static_cast<Wide>(value) * reciprocal_) >> 64);
        const std::uint64_t remainder = value - quotient * divisor_;
        return remainder >= divisor_ ? remainder - divisor_ : remainder;
    }

private:
    std::uint64_t divisor_;
    std::uint64_t reciprocal_;
};

}  // namespace winapi::sim
