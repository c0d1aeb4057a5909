#include "winapi/simulated/storage/Sector0.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace winapi::sim {

namespace {

constexpr std::size_t MbrEntriesOffset = 446;
constexpr std::size_t MbrEntrySize = 16;
constexpr std::size_t MbrDiskSignatureOffset = 440;
constexpr std::size_t MbrPrimaryEntries = 4;
constexpr BYTE MbrActive = 0x80;
constexpr BYTE ProtectiveMbrType = 0xEE;

void PutLittleEndian(std::vector<BYTE>& bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<BYTE>(value >> (8 * i));
    }
}

void PutMbrEntry(std::vector<BYTE>& sector, std::size_t slot, BYTE boot, BYTE type, std::uint64_t firstSector,
                 std::uint64_t sectors)
{
    const std::size_t entry = MbrEntriesOffset + slot * MbrEntrySize;
    // CHS fields hold the "beyond CHS range" marker that LBA-addressed disks use.
    constexpr std::array<BYTE, 3> chs{0xFE, 0xFF, 0xFF};
    sector[entry] = boot;
    std::ranges::copy(chs, sector.begin() + static_cast<std::ptrdiff_t>(entry + 1));
    sector[entry + 4] = type;
    std::ranges::copy(chs, sector.begin() + static_cast<std::ptrdiff_t>(entry + 5));
    PutLittleEndian(sector, entry + 8, static_cast<std::uint32_t>(std::min<std::uint64_t>(firstSector, UINT32_MAX)));
    PutLittleEndian(sector, entry + 12, static_cast<std::uint32_t>(std::min<std::uint64_t>(sectors, UINT32_MAX)));
}

}  // namespace

std::vector<BYTE> BuildSector0(const PhysicalDrive& drive)
{
    std::vector<BYTE> sector(drive.bytesPerSector, 0);
    if (drive.partitionStyle == PARTITION_STYLE_RAW) {
        return sector;
    }
    const auto sectorSize = static_cast<std::uint64_t>(drive.bytesPerSector);
    if (drive.partitionStyle == PARTITION_STYLE_MBR) {
        PutLittleEndian(sector, MbrDiskSignatureOffset, drive.mbrSignature);
        for (std::size_t slot = 0; slot < std::min(drive.partitions.size(), MbrPrimaryEntries); ++slot) {
            const Partition& partition = drive.partitions[slot];
            PutMbrEntry(sector, slot, partition.bootIndicator ? MbrActive : BYTE{0}, partition.mbrType,
                        static_cast<std::uint64_t>(partition.startingOffset) / sectorSize,
                        static_cast<std::uint64_t>(partition.length) / sectorSize);
        }
    } else {
        PutMbrEntry(sector, 0, 0, ProtectiveMbrType, 1, static_cast<std::uint64_t>(drive.length) / sectorSize - 1);
    }
    sector[510] = 0x55;
    sector[511] = 0xAA;
    return sector;
}

}  // namespace winapi::sim
