#include "capture/BitmapSlice.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

constexpr std::size_t HeaderBytes = offsetof(winapi::VOLUME_BITMAP_BUFFER, Buffer);

}  // namespace

std::optional<BitmapSlice> BitmapSlice::Read(std::span<const winapi::BYTE> buffer, winapi::DWORD returned)
{
    const std::size_t filled = std::min<std::size_t>(returned, buffer.size());
    if (filled < HeaderBytes) {
        return std::nullopt;
    }
    winapi::VOLUME_BITMAP_BUFFER header{};
    std::memcpy(&header, buffer.data(), HeaderBytes);
    return BitmapSlice(header, buffer.subspan(HeaderBytes, filled - HeaderBytes));
}

BitmapSlice::BitmapSlice(const winapi::VOLUME_BITMAP_BUFFER& header, std::span<const winapi::BYTE> bits)
    : header_(header),
      bits_(bits),
      clusters_(std::min<std::uint64_t>(static_cast<std::uint64_t>(std::max<std::int64_t>(header.BitmapSize, 0)),
                                        bits.size() * std::uint64_t{8}))
{
}
