#include "platform/PhysicalDrives.h"

#include "platform/Console.h"
#include "platform/FixedVolumeEnumeration.h"
#include "winapi/Storage.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace {

using namespace winapi;

constexpr std::wstring_view PhysicalDrivePrefix = L"\\\\.\\PhysicalDrive";

// The lines of IsPhysicalDriveLocalHardDisk, printed for every check that asks it.
constexpr std::string_view LocalHardDiskLine = "IsPhysicalDriveLocalHardDisk(%d)\n";
constexpr std::string_view VolumeOnDiskLine = "Found a volume that resides on disk %d\n";
// Room for the extents of any volume that is not a large spanned or striped set.
constexpr std::size_t DiskExtentsBufferSize = 512;

bool VolumeHasExtentOn(const std::wstring& volumeName, int diskNumber)
{
    if (volumeName.empty()) {
        return false;
    }
    // Without its trailing backslash the volume name opens the volume rather than its root folder.
    const std::wstring devicePath = volumeName.substr(0, volumeName.size() - 1);
    const UniqueFile volume =
        CreateFileW(devicePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!volume) {
        return false;
    }
    std::vector<BYTE> buffer(DiskExtentsBufferSize, 0);
    DWORD returned = 0;
    if (!DeviceIoControl(volume.get(), IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, {}, buffer, returned)) {
        return false;
    }
    DWORD count = 0;
    std::memcpy(&count, buffer.data(), sizeof(count));
    for (DWORD i = 0; i < count; ++i) {
        const std::size_t offset = offsetof(VOLUME_DISK_EXTENTS, Extents) + i * sizeof(DISK_EXTENT);
        if (offset + sizeof(DISK_EXTENT) > buffer.size()) {
            break;
        }
        DISK_EXTENT extent{};
        std::memcpy(&extent, buffer.data() + offset, sizeof(extent));
        if (extent.DiskNumber == static_cast<DWORD>(diskNumber)) {
            ConsolePrintf(VolumeOnDiskLine, diskNumber);
            return true;
        }
    }
    return false;
}

}  // namespace

std::wstring PhysicalDrivePath(int number)
{
    return std::wstring(PhysicalDrivePrefix) + std::to_wstring(number);
}

void PhysicalDriveEnumeration(const std::function<bool(int number, const std::wstring& path, HANDLE drive)>& visit)
{
    for (int number = 0;; ++number) {
        const std::wstring path = PhysicalDrivePath(number);
        const UniqueFile drive = CreateFileW(path, PhysicalDriveAccess, PhysicalDriveShare, OPEN_EXISTING, 0);
        if (!drive || !visit(number, path, drive.get())) {
            return;
        }
    }
}

bool IsPhysicalDriveLocalHardDisk(int diskNumber)
{
    ConsolePrintf(LocalHardDiskLine, diskNumber);
    bool found = false;
    static_cast<void>(FixedVolumeEnumeration([&](const std::wstring& volumeName) {
        found = VolumeHasExtentOn(volumeName, diskNumber);
        return !found;
    }));
    return found;
}
