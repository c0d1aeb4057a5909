#pragma once
// Volumes, physical drives and their device I/O controls, with the Windows names, meanings and
// structure layouts. DeviceIoControl moves plain bytes; the program reads the structures out of
// them above this surface, so the same parsing runs against Windows and the machine model.

#include "winapi/UniqueResource.h"
#include "winapi/WinTypes.h"

#include <cstddef>
#include <span>
#include <string>

namespace winapi {

BOOL CloseHandle(HANDLE object);
BOOL FindVolumeClose(HANDLE findVolume);
BOOL FindVolumeMountPointClose(HANDLE findVolumeMountPoint);

struct FileTraits {
    using Pointer = HANDLE;
    static Pointer Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Pointer handle) { CloseHandle(handle); }
};
// A file, volume or device opened with CreateFileW.
using UniqueFile = UniqueResource<FileTraits>;

struct FindVolumeTraits {
    using Pointer = HANDLE;
    static Pointer Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Pointer handle) { FindVolumeClose(handle); }
};
using UniqueFindVolume = UniqueResource<FindVolumeTraits>;

struct FindVolumeMountPointTraits {
    using Pointer = HANDLE;
    static Pointer Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Pointer handle) { FindVolumeMountPointClose(handle); }
};
using UniqueFindVolumeMountPoint = UniqueResource<FindVolumeMountPointTraits>;

// CreateFileW access, sharing and disposition.
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD FILE_SHARE_DELETE = 0x4;
constexpr DWORD OPEN_EXISTING = 3;
// Needed to open a folder rather than a file.
constexpr DWORD FILE_FLAG_BACKUP_SEMANTICS = 0x02000000u;

// GetDriveTypeW.
constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

// More Win32 errors of the storage calls.
constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_UNRECOGNIZED_VOLUME = 1005;
constexpr DWORD ERROR_NOT_A_REPARSE_POINT = 4390;

// Device I/O control codes. Bits 14 and 15 hold the access the handle needs.
constexpr DWORD IOCTL_STORAGE_GET_DEVICE_NUMBER = 0x2D1080;
constexpr DWORD IOCTL_STORAGE_QUERY_PROPERTY = 0x2D1400;
constexpr DWORD IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS = 0x560000;
constexpr DWORD IOCTL_DISK_GET_DRIVE_LAYOUT_EX = 0x70050;
constexpr DWORD IOCTL_DISK_GET_LENGTH_INFO = 0x7405C;
constexpr DWORD FSCTL_GET_VOLUME_BITMAP = 0x9006F;
constexpr DWORD FILE_READ_ACCESS = 0x1;
constexpr DWORD FILE_WRITE_ACCESS = 0x2;

constexpr DWORD FILE_DEVICE_DISK = 0x7;

struct STORAGE_DEVICE_NUMBER {
    DWORD DeviceType;
    DWORD DeviceNumber;
    DWORD PartitionNumber;
};

// STORAGE_PROPERTY_ID and STORAGE_QUERY_TYPE.
constexpr DWORD StorageDeviceProperty = 0;
constexpr DWORD StorageAdapterProperty = 1;
constexpr DWORD PropertyStandardQuery = 0;

struct STORAGE_PROPERTY_QUERY {
    DWORD PropertyId;
    DWORD QueryType;
    BYTE AdditionalParameters[1];
};

// STORAGE_BUS_TYPE.
constexpr DWORD BusTypeUnknown = 0;
constexpr DWORD BusTypeUsb = 7;
constexpr DWORD BusTypeRAID = 8;

struct STORAGE_DESCRIPTOR_HEADER {
    DWORD Version;
    DWORD Size;
};

struct STORAGE_ADAPTER_DESCRIPTOR {
    DWORD Version;
    DWORD Size;
    DWORD MaximumTransferLength;
    DWORD MaximumPhysicalPages;
    DWORD AlignmentMask;
    BYTE AdapterUsesPio;
    BYTE AdapterScansDown;
    BYTE CommandQueueing;
    BYTE AcceleratedTransfer;
    BYTE BusType;
    WORD BusMajorVersion;
    WORD BusMinorVersion;
    BYTE SrbType;
    BYTE AddressType;
};

struct STORAGE_DEVICE_DESCRIPTOR {
    DWORD Version;
    DWORD Size;
    BYTE DeviceType;
    BYTE DeviceTypeModifier;
    BYTE RemovableMedia;
    BYTE CommandQueueing;
    DWORD VendorIdOffset;
    DWORD ProductIdOffset;
    DWORD ProductRevisionOffset;
    DWORD SerialNumberOffset;
    DWORD BusType;
    DWORD RawPropertiesLength;
    BYTE RawDeviceProperties[1];
};

struct DISK_EXTENT {
    DWORD DiskNumber;
    LONGLONG StartingOffset;
    LONGLONG ExtentLength;
};

struct VOLUME_DISK_EXTENTS {
    DWORD NumberOfDiskExtents;
    DISK_EXTENT Extents[1];
};

// PARTITION_STYLE.
constexpr DWORD PARTITION_STYLE_MBR = 0;
constexpr DWORD PARTITION_STYLE_GPT = 1;
constexpr DWORD PARTITION_STYLE_RAW = 2;

struct PARTITION_INFORMATION_MBR {
    BYTE PartitionType;
    BYTE BootIndicator;
    BYTE RecognizedPartition;
    DWORD HiddenSectors;
};

struct PARTITION_INFORMATION_GPT {
    GUID PartitionType;
    GUID PartitionId;
    ULONGLONG Attributes;
    // UTF-16 on Windows, whatever the width of wchar_t.
    char16_t Name[36];
};

struct PARTITION_INFORMATION_EX {
    DWORD PartitionStyle;
    LONGLONG StartingOffset;
    LONGLONG PartitionLength;
    DWORD PartitionNumber;
    BYTE RewritePartition;
    BYTE IsServicePartition;
    union {
        PARTITION_INFORMATION_MBR Mbr;
        PARTITION_INFORMATION_GPT Gpt;
    };
};

struct DRIVE_LAYOUT_INFORMATION_MBR {
    DWORD Signature;
    DWORD CheckSum;
};

struct DRIVE_LAYOUT_INFORMATION_GPT {
    GUID DiskId;
    LONGLONG StartingUsableOffset;
    LONGLONG UsableLength;
    DWORD MaxPartitionCount;
};

struct DRIVE_LAYOUT_INFORMATION_EX {
    DWORD PartitionStyle;
    DWORD PartitionCount;
    union {
        DRIVE_LAYOUT_INFORMATION_MBR Mbr;
        DRIVE_LAYOUT_INFORMATION_GPT Gpt;
    };
    PARTITION_INFORMATION_EX PartitionEntry[1];
};

struct GET_LENGTH_INFORMATION {
    LONGLONG Length;
};

struct STARTING_LCN_INPUT_BUFFER {
    LONGLONG StartingLcn;
};

struct VOLUME_BITMAP_BUFFER {
    LONGLONG StartingLcn;
    LONGLONG BitmapSize;
    BYTE Buffer[1];
};

// The layouts Windows gives these records, on every build.
static_assert(sizeof(STORAGE_DEVICE_NUMBER) == 12);
static_assert(sizeof(STORAGE_PROPERTY_QUERY) == 12);
static_assert(sizeof(STORAGE_ADAPTER_DESCRIPTOR) == 32 && offsetof(STORAGE_ADAPTER_DESCRIPTOR, BusType) == 24);
static_assert(sizeof(STORAGE_DEVICE_DESCRIPTOR) == 40 && offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) == 28);
static_assert(sizeof(DISK_EXTENT) == 24 && offsetof(VOLUME_DISK_EXTENTS, Extents) == 8);
static_assert(sizeof(PARTITION_INFORMATION_EX) == 144 && offsetof(PARTITION_INFORMATION_EX, Mbr) == 32);
static_assert(offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry) == 48);
static_assert(offsetof(VOLUME_BITMAP_BUFFER, Buffer) == 16);

// GetFileAttributesExW.
enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard = 0 };

struct WIN32_FILE_ATTRIBUTE_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
};

// SHGetFolderPathW.
constexpr int CSIDL_PROGRAM_FILES = 0x26;
constexpr DWORD SHGFP_TYPE_DEFAULT = 1;

// Bit n set: drive letter 'A' + n exists. 0 on failure.
[[nodiscard]] DWORD GetLogicalDrives();
[[nodiscard]] UINT GetDriveTypeW(const std::wstring& rootPathName);

// The volume names come back in the \\?\Volume{...}\ form.
[[nodiscard]] UniqueFindVolume FindFirstVolumeW(std::span<wchar_t> volumeName);
[[nodiscard]] BOOL FindNextVolumeW(HANDLE findVolume, std::span<wchar_t> volumeName);
[[nodiscard]] BOOL GetVolumeNameForVolumeMountPointW(const std::wstring& volumeMountPoint,
                                                     std::span<wchar_t> volumeName);
// The folders on the volume rootPathName where other volumes are mounted, relative to its root.
[[nodiscard]] UniqueFindVolumeMountPoint FindFirstVolumeMountPointW(const std::wstring& rootPathName,
                                                                    std::span<wchar_t> volumeMountPoint);
[[nodiscard]] BOOL FindNextVolumeMountPointW(HANDLE findVolumeMountPoint, std::span<wchar_t> volumeMountPoint);

[[nodiscard]] BOOL GetFileAttributesExW(const std::wstring& fileName, GET_FILEEX_INFO_LEVELS infoLevel,
                                        WIN32_FILE_ATTRIBUTE_DATA& information);

// Without security attributes or template file.
[[nodiscard]] UniqueFile CreateFileW(const std::wstring& fileName, DWORD desiredAccess, DWORD shareMode,
                                     DWORD creationDisposition, DWORD flagsAndAttributes);
[[nodiscard]] BOOL ReadFile(HANDLE file, std::span<BYTE> buffer, DWORD& bytesRead);
// Writes what the system holds of the file (or of the folder's entries) to the disk; the handle
// needs write access.
[[nodiscard]] BOOL FlushFileBuffers(HANDLE file);
// bytesReturned is set whenever the control fills part of the output, also when it reports
// ERROR_MORE_DATA.
[[nodiscard]] BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, std::span<const BYTE> inBuffer,
                                   std::span<BYTE> outBuffer, DWORD& bytesReturned);

[[nodiscard]] BOOL GetDiskFreeSpaceW(const std::wstring& rootPathName, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                                     DWORD& numberOfFreeClusters, DWORD& totalNumberOfClusters);
[[nodiscard]] BOOL GetDiskFreeSpaceExW(const std::wstring& directoryName, ULONGLONG& freeBytesAvailableToCaller,
                                       ULONGLONG& totalNumberOfBytes, ULONGLONG& totalNumberOfFreeBytes);

// Only the name of the file system mounted on the volume (rootPathName ends in a backslash);
// a volume without one (RAW, or no medium) fails as the free-space calls do.
[[nodiscard]] BOOL GetVolumeInformationW(const std::wstring& rootPathName, std::span<wchar_t> fileSystemName);

// With no window and no access token. A negative result is a failure.
[[nodiscard]] HRESULT SHGetFolderPathW(int folder, DWORD flags, std::span<wchar_t> path);

}  // namespace winapi
