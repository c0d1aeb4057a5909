#pragma once
// The storage of a simulated machine: physical drives with their partition tables, volumes with
// their extents and cluster allocation, and the disk interfaces that SetupAPI lists.

#include "winapi/Storage.h"
#include "winapi/simulated/ObjectFaults.h"
#include "winapi/simulated/storage/ClusterAllocation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::sim {

struct Partition {
    DWORD number = 0;
    LONGLONG startingOffset = 0;
    LONGLONG length = 0;
    // MBR entries.
    BYTE mbrType = 0;
    bool bootIndicator = false;
    DWORD hiddenSectors = 0;
    // GPT entries.
    GUID gptType{};
    GUID gptId{};
    ULONGLONG gptAttributes = 0;
    std::u16string gptName;
};

struct PhysicalDrive {
    DWORD number = 0;
    // The bus of the device descriptor, and of the adapter descriptor when that differs (a RAID
    // or USB bridge may name another bus for the disk behind it than for itself).
    DWORD busType = BusTypeUnknown;
    std::optional<DWORD> adapterBusType;
    LONGLONG length = 0;
    DWORD bytesPerSector = 512;
    bool removableMedia = false;
    std::string productId;
    DWORD partitionStyle = PARTITION_STYLE_RAW;
    DWORD mbrSignature = 0;
    GUID gptDiskId{};
    std::vector<Partition> partitions;
    // The bytes a read from the start of the drive returns; the rest of the drive reads as zeros.
    std::vector<BYTE> sector0;
    // CreateFileW on the drive fails with this error.
    std::optional<DWORD> openError;
    // A drive of removable media with none inserted (an empty card-reader slot): it answers for
    // itself, but not for a medium.
    bool noMedium = false;
    ObjectFaults faults;
};

struct VolumeExtent {
    DWORD disk = 0;
    LONGLONG startingOffset = 0;
    LONGLONG length = 0;
};

// What IOCTL_STORAGE_GET_DEVICE_NUMBER answers for a volume.
struct VolumeDeviceNumber {
    DWORD disk = 0;
    DWORD partition = 0;
};

struct Volume {
    // The \\?\Volume{...}\ form, with its trailing backslash.
    std::wstring name;
    UINT driveType = DRIVE_FIXED;
    // What GetDriveTypeW answers for the volume name itself when that differs from the answer for
    // the drive-letter roots (Wine answers DRIVE_UNKNOWN there).
    std::optional<UINT> nameDriveType;
    // Upper-case letters.
    std::wstring driveLetters;
    // Folders on other volumes where this one is mounted, e.g. D:\Data\ (with the backslash).
    std::vector<std::wstring> mountPoints;
    // Folders of this volume that are mount points of no volume that answers (its disk offline or
    // removed, or the folder locked): relative to the root, e.g. Data\, with the error that
    // GetVolumeNameForVolumeMountPointW fails with there.
    std::vector<std::pair<std::wstring, DWORD>> unresolvedMountPoints;
    std::vector<VolumeExtent> extents;
    // The volume's disk and partition when given outright, as a machine may name them without
    // listing the extents; otherwise they follow from a single extent.
    std::optional<VolumeDeviceNumber> deviceNumber;
    // Empty: no file system is mounted (a RAW volume).
    std::wstring fileSystem;
    DWORD rootAttributes = FILE_ATTRIBUTE_DIRECTORY;
    ULONGLONG totalBytes = 0;
    ULONGLONG freeBytes = 0;
    ULONGLONG freeBytesAvailable = 0;
    DWORD bytesPerSector = 512;
    DWORD sectorsPerCluster = 8;
    ClusterAllocation allocation;
    std::optional<DWORD> openError;
    // The calls that fail on this volume; FindNextVolumeW is the call that would list the volume
    // after this one.
    ObjectFaults faults;
    // CreateFileW for writing fails with this error (a write-protected medium), for reading not.
    std::optional<DWORD> writeOpenError;

    [[nodiscard]] std::uint64_t ClusterCount() const
    {
        return totalBytes / (std::uint64_t{bytesPerSector} * sectorsPerCluster);
    }
};

// A drive letter that names no volume of the machine: a SUBST of a folder, a network share, a
// RAM disk without a volume. GetLogicalDrives has it and GetDriveTypeW answers for its root; its
// device path does not open, and its root is a folder.
struct OtherDrive {
    // Upper case.
    wchar_t letter = L'A';
    UINT driveType = DRIVE_REMOTE;
    DWORD openError = ERROR_ACCESS_DENIED;
    DWORD rootAttributes = FILE_ATTRIBUTE_DIRECTORY;
};

struct DiskInterface {
    std::wstring devicePath;
    DWORD drive = 0;
    std::optional<DWORD> openError;
    // The calls that fail on this interface: its detail, and the controls on a handle opened by
    // its device path.
    ObjectFaults faults;
};

// The calls a profile can make fail on one drive, volume or disk interface.
[[nodiscard]] const std::vector<std::wstring_view>& DriveFaultCalls();
[[nodiscard]] const std::vector<std::wstring_view>& VolumeFaultCalls();
[[nodiscard]] const std::vector<std::wstring_view>& InterfaceFaultCalls();

}  // namespace winapi::sim
