#include "platform/DriveLayout.h"

#include "platform/GrowingBuffer.h"
#include "winapi/Win32.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

using namespace winapi;

constexpr std::size_t FirstLayoutSize = 744;
constexpr std::size_t LayoutGrowth = 140;
// The largest table a real disk gives (128 GPT entries) is under 20 KiB.
constexpr std::size_t LayoutLimit = 1024 * 1024;
constexpr std::size_t EntriesOffset = offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry);

}  // namespace

DriveLayout::DriveLayout(std::vector<BYTE> bytes) : bytes_(std::move(bytes))
{
    bytes_.resize(std::max(bytes_.size(), EntriesOffset), 0);
}

DRIVE_LAYOUT_INFORMATION_EX DriveLayout::Header() const
{
    DRIVE_LAYOUT_INFORMATION_EX header{};
    std::memcpy(&header, bytes_.data(), EntriesOffset);
    return header;
}

DWORD DriveLayout::PartitionStyle() const
{
    return Header().PartitionStyle;
}

DWORD DriveLayout::PartitionCount() const
{
    const std::size_t held = (bytes_.size() - EntriesOffset) / sizeof(PARTITION_INFORMATION_EX);
    return static_cast<DWORD>(std::min<std::size_t>(Header().PartitionCount, held));
}

PARTITION_INFORMATION_EX DriveLayout::Entry(DWORD index) const
{
    PARTITION_INFORMATION_EX entry{};
    std::memcpy(&entry, bytes_.data() + EntriesOffset + index * sizeof(PARTITION_INFORMATION_EX), sizeof(entry));
    return entry;
}

std::optional<DriveLayout> ReadDriveLayout(HANDLE physicalDrive)
{
    // The control names no size: the buffer grows by a fixed step until the table fits.
    const auto askForLayout = [physicalDrive](std::vector<BYTE>& buffer, std::size_t& /*wanted*/) {
        DWORD returned = 0;
        if (DeviceIoControl(physicalDrive, IOCTL_DISK_GET_DRIVE_LAYOUT_EX, {}, buffer, returned)) {
            return BufferAnswer::Filled;
        }
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? BufferAnswer::TooSmall : BufferAnswer::Failed;
    };
    auto bytes = ReadIntoGrowingBuffer({FirstLayoutSize, LayoutGrowth, LayoutLimit}, askForLayout);
    if (!bytes) {
        return std::nullopt;
    }
    return DriveLayout(std::move(*bytes));
}
