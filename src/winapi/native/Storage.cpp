#include "winapi/Storage.h"
#include "winapi/UniqueResource.h"

#include <bit>
#include <cstddef>

namespace {
// The surface's values, taken before <windows.h> turns their names into macros.
struct SurfaceCodes {
    static constexpr winapi::DWORD getDeviceNumber = winapi::IOCTL_STORAGE_GET_DEVICE_NUMBER;
    static constexpr winapi::DWORD queryProperty = winapi::IOCTL_STORAGE_QUERY_PROPERTY;
    static constexpr winapi::DWORD volumeDiskExtents = winapi::IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS;
    static constexpr winapi::DWORD driveLayout = winapi::IOCTL_DISK_GET_DRIVE_LAYOUT_EX;
    static constexpr winapi::DWORD lengthInfo = winapi::IOCTL_DISK_GET_LENGTH_INFO;
    static constexpr winapi::DWORD volumeBitmap = winapi::FSCTL_GET_VOLUME_BITMAP;
    static constexpr int programFiles = winapi::CSIDL_PROGRAM_FILES;
    static constexpr winapi::UINT driveFixed = winapi::DRIVE_FIXED;
    static constexpr winapi::DWORD busTypeUsb = winapi::BusTypeUsb;
    static constexpr winapi::DWORD busTypeRaid = winapi::BusTypeRAID;
    static constexpr winapi::DWORD deviceProperty = winapi::StorageDeviceProperty;
    static constexpr winapi::DWORD shareDelete = winapi::FILE_SHARE_DELETE;
    static constexpr winapi::DWORD backupSemantics = winapi::FILE_FLAG_BACKUP_SEMANTICS;
};
}  // namespace

#include "winapi/native/WindowsHeaders.h"

#include <shlobj.h>
#include <winioctl.h>

// The records that cross DeviceIoControl as bytes must be the Windows records byte for byte.
static_assert(sizeof(winapi::STORAGE_DEVICE_NUMBER) == sizeof(::STORAGE_DEVICE_NUMBER));
static_assert(sizeof(winapi::STORAGE_PROPERTY_QUERY) == sizeof(::STORAGE_PROPERTY_QUERY));
static_assert(sizeof(winapi::STORAGE_ADAPTER_DESCRIPTOR) == sizeof(::STORAGE_ADAPTER_DESCRIPTOR));
static_assert(offsetof(winapi::STORAGE_ADAPTER_DESCRIPTOR, BusType) == offsetof(::STORAGE_ADAPTER_DESCRIPTOR, BusType));
static_assert(sizeof(winapi::STORAGE_DEVICE_DESCRIPTOR) == sizeof(::STORAGE_DEVICE_DESCRIPTOR));
static_assert(offsetof(winapi::STORAGE_DEVICE_DESCRIPTOR, BusType) == offsetof(::STORAGE_DEVICE_DESCRIPTOR, BusType));
static_assert(offsetof(winapi::STORAGE_DEVICE_DESCRIPTOR, ProductIdOffset) ==
              offsetof(::STORAGE_DEVICE_DESCRIPTOR, ProductIdOffset));
static_assert(offsetof(winapi::STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties) ==
              offsetof(::STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties));
static_assert(sizeof(winapi::DISK_EXTENT) == sizeof(::DISK_EXTENT));
static_assert(offsetof(winapi::DISK_EXTENT, StartingOffset) == offsetof(::DISK_EXTENT, StartingOffset));
static_assert(sizeof(winapi::VOLUME_DISK_EXTENTS) == sizeof(::VOLUME_DISK_EXTENTS));
static_assert(offsetof(winapi::VOLUME_DISK_EXTENTS, Extents) == offsetof(::VOLUME_DISK_EXTENTS, Extents));
static_assert(sizeof(winapi::PARTITION_INFORMATION_EX) == sizeof(::PARTITION_INFORMATION_EX));
static_assert(offsetof(winapi::PARTITION_INFORMATION_EX, PartitionNumber) ==
              offsetof(::PARTITION_INFORMATION_EX, PartitionNumber));
static_assert(offsetof(winapi::PARTITION_INFORMATION_EX, Mbr) == offsetof(::PARTITION_INFORMATION_EX, Mbr));
static_assert(offsetof(winapi::PARTITION_INFORMATION_MBR, BootIndicator) ==
              offsetof(::PARTITION_INFORMATION_MBR, BootIndicator));
static_assert(offsetof(winapi::PARTITION_INFORMATION_MBR, HiddenSectors) ==
              offsetof(::PARTITION_INFORMATION_MBR, HiddenSectors));
static_assert(sizeof(winapi::PARTITION_INFORMATION_GPT) == sizeof(::PARTITION_INFORMATION_GPT));
static_assert(offsetof(winapi::PARTITION_INFORMATION_GPT, Name) == offsetof(::PARTITION_INFORMATION_GPT, Name));
static_assert(sizeof(winapi::DRIVE_LAYOUT_INFORMATION_GPT) == sizeof(::DRIVE_LAYOUT_INFORMATION_GPT));
static_assert(offsetof(winapi::DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry) ==
              offsetof(::DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry));
static_assert(sizeof(winapi::GET_LENGTH_INFORMATION) == sizeof(::GET_LENGTH_INFORMATION));
static_assert(sizeof(winapi::STARTING_LCN_INPUT_BUFFER) == sizeof(::STARTING_LCN_INPUT_BUFFER));
static_assert(offsetof(winapi::VOLUME_BITMAP_BUFFER, Buffer) == offsetof(::VOLUME_BITMAP_BUFFER, Buffer));
static_assert(sizeof(winapi::WIN32_FILE_ATTRIBUTE_DATA) == sizeof(::WIN32_FILE_ATTRIBUTE_DATA));
static_assert(sizeof(winapi::GUID) == sizeof(::GUID));

// The codes and values the program relies on are the SDK's.
static_assert(SurfaceCodes::getDeviceNumber == IOCTL_STORAGE_GET_DEVICE_NUMBER);
static_assert(SurfaceCodes::queryProperty == IOCTL_STORAGE_QUERY_PROPERTY);
static_assert(SurfaceCodes::volumeDiskExtents == IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS);
static_assert(SurfaceCodes::driveLayout == IOCTL_DISK_GET_DRIVE_LAYOUT_EX);
static_assert(SurfaceCodes::lengthInfo == IOCTL_DISK_GET_LENGTH_INFO);
static_assert(SurfaceCodes::volumeBitmap == FSCTL_GET_VOLUME_BITMAP);
static_assert(SurfaceCodes::programFiles == CSIDL_PROGRAM_FILES);
static_assert(SurfaceCodes::driveFixed == DRIVE_FIXED);
static_assert(SurfaceCodes::busTypeUsb == BusTypeUsb && SurfaceCodes::busTypeRaid == BusTypeRAID);
static_assert(SurfaceCodes::deviceProperty == StorageDeviceProperty);
static_assert(SurfaceCodes::shareDelete == FILE_SHARE_DELETE);
static_assert(SurfaceCodes::backupSemantics == FILE_FLAG_BACKUP_SEMANTICS);

namespace winapi {

DWORD GetLogicalDrives()
{
    return ::GetLogicalDrives();
}

UINT GetDriveTypeW(const std::wstring& rootPathName)
{
    return ::GetDriveTypeW(rootPathName.c_str());
}

UniqueFindVolume FindFirstVolumeW(std::span<wchar_t> volumeName)
{
    return UniqueFindVolume(::FindFirstVolumeW(volumeName.data(), static_cast<::DWORD>(volumeName.size())));
}

BOOL FindNextVolumeW(HANDLE findVolume, std::span<wchar_t> volumeName)
{
    return ::FindNextVolumeW(findVolume, volumeName.data(), static_cast<::DWORD>(volumeName.size()));
}

BOOL FindVolumeClose(HANDLE findVolume)
{
    return ::FindVolumeClose(findVolume);
}

BOOL GetVolumeNameForVolumeMountPointW(const std::wstring& volumeMountPoint, std::span<wchar_t> volumeName)
{
    return ::GetVolumeNameForVolumeMountPointW(volumeMountPoint.c_str(), volumeName.data(),
                                               static_cast<::DWORD>(volumeName.size()));
}

UniqueFindVolumeMountPoint FindFirstVolumeMountPointW(const std::wstring& rootPathName,
                                                      std::span<wchar_t> volumeMountPoint)
{
    return UniqueFindVolumeMountPoint(::FindFirstVolumeMountPointW(rootPathName.c_str(), volumeMountPoint.data(),
                                                                   static_cast<::DWORD>(volumeMountPoint.size())));
}

BOOL FindNextVolumeMountPointW(HANDLE findVolumeMountPoint, std::span<wchar_t> volumeMountPoint)
{
    return ::FindNextVolumeMountPointW(findVolumeMountPoint, volumeMountPoint.data(),
                                       static_cast<::DWORD>(volumeMountPoint.size()));
}

BOOL FindVolumeMountPointClose(HANDLE findVolumeMountPoint)
{
    return ::FindVolumeMountPointClose(findVolumeMountPoint);
}

BOOL GetFileAttributesExW(const std::wstring& fileName, GET_FILEEX_INFO_LEVELS infoLevel,
                          WIN32_FILE_ATTRIBUTE_DATA& information)
{
    ::WIN32_FILE_ATTRIBUTE_DATA found{};
    const BOOL ok = ::GetFileAttributesExW(fileName.c_str(), static_cast<::GET_FILEEX_INFO_LEVELS>(infoLevel), &found);
    if (ok) {
        information = std::bit_cast<WIN32_FILE_ATTRIBUTE_DATA>(found);
    }
    return ok;
}

UniqueFile CreateFileW(const std::wstring& fileName, DWORD desiredAccess, DWORD shareMode, DWORD creationDisposition,
                       DWORD flagsAndAttributes)
{
    return UniqueFile(::CreateFileW(fileName.c_str(), desiredAccess, shareMode, nullptr, creationDisposition,
                                    flagsAndAttributes, nullptr));
}

BOOL FlushFileBuffers(HANDLE file)
{
    return ::FlushFileBuffers(file);
}

BOOL CloseHandle(HANDLE object)
{
    return ::CloseHandle(object);
}

BOOL ReadFile(HANDLE file, std::span<BYTE> buffer, DWORD& bytesRead)
{
    ::DWORD read = 0;
    const BOOL ok = ::ReadFile(file, buffer.data(), static_cast<::DWORD>(buffer.size()), &read, nullptr);
    if (ok) {
        bytesRead = read;
    }
    return ok;
}

BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, std::span<const BYTE> inBuffer, std::span<BYTE> outBuffer,
                     DWORD& bytesReturned)
{
    ::DWORD returned = 0;
    // The input is never written; the API takes it as a non-const pointer only for history's sake.
    const BOOL ok = ::DeviceIoControl(device, ioControlCode, const_cast<BYTE*>(inBuffer.data()),
                                      static_cast<::DWORD>(inBuffer.size()), outBuffer.data(),
                                      static_cast<::DWORD>(outBuffer.size()), &returned, nullptr);
    if (ok || ::GetLastError() == ERROR_MORE_DATA) {
        bytesReturned = returned;
    }
    return ok;
}

BOOL GetDiskFreeSpaceW(const std::wstring& rootPathName, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                       DWORD& numberOfFreeClusters, DWORD& totalNumberOfClusters)
{
    ::DWORD sectors = 0;
    ::DWORD bytes = 0;
    ::DWORD freeClusters = 0;
    ::DWORD totalClusters = 0;
    const BOOL ok = ::GetDiskFreeSpaceW(rootPathName.c_str(), &sectors, &bytes, &freeClusters, &totalClusters);
    if (ok) {
        sectorsPerCluster = sectors;
        bytesPerSector = bytes;
        numberOfFreeClusters = freeClusters;
        totalNumberOfClusters = totalClusters;
    }
    return ok;
}

BOOL GetVolumeInformationW(const std::wstring& rootPathName, std::span<wchar_t> fileSystemName)
{
    return ::GetVolumeInformationW(rootPathName.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystemName.data(),
                                   static_cast<DWORD>(fileSystemName.size()));
}

BOOL GetDiskFreeSpaceExW(const std::wstring& directoryName, ULONGLONG& freeBytesAvailableToCaller,
                         ULONGLONG& totalNumberOfBytes, ULONGLONG& totalNumberOfFreeBytes)
{
    ::ULARGE_INTEGER available{};
    ::ULARGE_INTEGER total{};
    ::ULARGE_INTEGER free{};
    const BOOL ok = ::GetDiskFreeSpaceExW(directoryName.c_str(), &available, &total, &free);
    if (ok) {
        freeBytesAvailableToCaller = available.QuadPart;
        totalNumberOfBytes = total.QuadPart;
        totalNumberOfFreeBytes = free.QuadPart;
    }
    return ok;
}

HRESULT SHGetFolderPathW(int folder, DWORD flags, std::span<wchar_t> path)
{
    // The shell writes up to MAX_PATH characters whatever the buffer is.
    if (path.size() < MAX_PATH) {
        return E_INVALIDARG;
    }
#ifdef _WIN64
    // The folder the shipped 32-bit program is given, as the registry view above is (Registry.cpp).
    if (folder == CSIDL_PROGRAM_FILES) {
        folder = CSIDL_PROGRAM_FILESX86;
    }
#endif
    return ::SHGetFolderPathW(nullptr, folder, nullptr, flags, path.data());
}

}  // namespace winapi
