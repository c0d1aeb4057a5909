#pragma once
// One answer of FSCTL_GET_VOLUME_BITMAP as the capture reads it: the header, then as many
// clusters as both the header and the bytes returned hold. An answer too short to hold the header
// gives nothing to read, and is a fault of its volume.

#include "winapi/Storage.h"

#include <cstdint>
#include <optional>
#include <span>

class BitmapSlice {
public:
    // The answer in buffer, of which the call said it filled returned bytes; nothing when those
    // bytes do not hold the whole header.
    [[nodiscard]] static std::optional<BitmapSlice> Read(std::span<const winapi::BYTE> buffer, winapi::DWORD returned);

    // The cluster the slice starts at, which may lie below the one asked for.
    [[nodiscard]] std::int64_t StartingLcn() const { return header_.StartingLcn; }
    // The clusters from StartingLcn to the volume's end, as the header gives them.
    [[nodiscard]] std::int64_t BitmapSize() const { return header_.BitmapSize; }
    // The clusters this slice holds: the header's count, cut to the bytes returned.
    [[nodiscard]] std::uint64_t Clusters() const { return clusters_; }
    // Their bits, one a cluster, the first cluster in the lowest bit of the first byte.
    [[nodiscard]] std::span<const winapi::BYTE> Bits() const { return bits_; }

private:
    BitmapSlice(const winapi::VOLUME_BITMAP_BUFFER& header, std::span<const winapi::BYTE> bits);

    winapi::VOLUME_BITMAP_BUFFER header_;
    std::span<const winapi::BYTE> bits_;
    std::uint64_t clusters_;
};
