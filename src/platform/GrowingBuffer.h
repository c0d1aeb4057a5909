#pragma once
// The "ask for the size, allocate, ask again" pattern of the calls that fill a buffer of the
// caller's, written once and bounded: a call (or a captured machine profile, or a broken driver)
// that keeps answering "too small" ends in a failure instead of a loop whose memory grows.

#include "winapi/WinTypes.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

// How one try went. Filled: the buffer holds the answer (the try may have shrunk it to the length
// the call returned). TooSmall: the call wants a larger buffer, and wanted holds the size it asked
// for, or stays 0 when it does not say.
enum class BufferAnswer { Filled, TooSmall, Failed };

struct BufferGrowth {
    // The size of the first try; 0 for a call that is first asked for its size with no buffer.
    std::size_t first = 0;
    // A try after "too small" is at least this much larger than the one before, so every retry
    // makes progress even when the call names no size, or one that did not fit either.
    std::size_t step = 1;
    // No buffer beyond this size is tried: a call that still wants more has failed. The bound
    // is far above any answer a real machine gives, so those are answered as without it.
    std::size_t limit = 0;
};

// Tries ask(buffer, wanted) with zeroed buffers of growing size until it answers Filled or
// Failed, or the next size would pass growth.limit. The buffer of the Filled try, or nothing; the
// caller's try keeps the error it saw (the last one is "too small" when the bound was reached).
template <typename Ask>
[[nodiscard]] std::optional<std::vector<winapi::BYTE>> ReadIntoGrowingBuffer(const BufferGrowth& growth, Ask ask)
{
    for (std::size_t size = growth.first; size <= growth.limit;) {
        std::vector<winapi::BYTE> buffer(size, 0);
        std::size_t wanted = 0;
        switch (ask(buffer, wanted)) {
        case BufferAnswer::Filled: return buffer;
        case BufferAnswer::Failed: return std::nullopt;
        case BufferAnswer::TooSmall: size = std::max(wanted, size + growth.step); break;
        }
    }
    return std::nullopt;
}
