#pragma once
// The partition table of a physical drive, as IOCTL_DISK_GET_DRIVE_LAYOUT_EX returns it.

#include "winapi/Storage.h"

#include <optional>
#include <vector>

class DriveLayout {
public:
    explicit DriveLayout(std::vector<winapi::BYTE> bytes);

    [[nodiscard]] winapi::DWORD PartitionStyle() const;
    // The entries the buffer holds, at most the PartitionCount that Windows reported.
    [[nodiscard]] winapi::DWORD PartitionCount() const;
    [[nodiscard]] winapi::PARTITION_INFORMATION_EX Entry(winapi::DWORD index) const;

private:
    winapi::DRIVE_LAYOUT_INFORMATION_EX Header() const;

    std::vector<winapi::BYTE> bytes_;
};

// Asks with a buffer that grows by 140 bytes until the table fits, up to 1 MiB; on failure
// GetLastError tells why (ERROR_INSUFFICIENT_BUFFER when even the largest buffer was too small).
[[nodiscard]] std::optional<DriveLayout> ReadDriveLayout(winapi::HANDLE physicalDrive);
