// Devices opened with CreateFileW (volumes, physical drives, disk interfaces; the call itself is in
// SimulatedHandles.cpp), their raw reads and their device I/O controls, answered from the simulated machine with the Windows structure
// layouts and buffer rules.

#include "winapi/Storage.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/Win32.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/storage/DeviceHandles.h"
#include "winapi/simulated/storage/StorageLookup.h"
#include "winapi/simulated/FailedCall.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace winapi {

namespace {

using sim::Fail;
using sim::FaultedWithLastError;

enum class DeviceKind { Volume, Drive };

struct OpenDevice {
    DeviceKind kind = DeviceKind::Volume;
    std::size_t index = 0;
    DWORD access = 0;
    ULONGLONG position = 0;
    // The disk interface whose device path opened the drive, if one did.
    std::optional<std::size_t> diskInterface;
};

struct Devices {
    std::map<HANDLE, OpenDevice> open;
};

Devices& OpenDevices()
{
    static Devices devices;
    return devices;
}

sim::Machine& Machine()
{
    return sim::CurrentMachine();
}

std::optional<std::size_t> DriveIndex(DWORD number)
{
    return sim::DriveIndex(Machine(), number);
}

std::optional<DWORD> ParseDriveNumber(std::wstring_view digits)
{
    if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == L'0')) {
        return std::nullopt;
    }
    DWORD number = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<DWORD>(c - L'0');
    }
    return number;
}

// A device path: a volume (\\.\C:, \\?\Volume{...}), a physical drive (\\.\PhysicalDriveN) or a
// disk interface that SetupAPI listed.
struct DeviceTarget {
    DeviceKind kind = DeviceKind::Volume;
    std::size_t index = 0;
    std::optional<DWORD> openError;
    std::optional<std::size_t> diskInterface;
};

// A path in the device namespace (\\.\ or \\?\): never one of the host's files.
bool IsDevicePath(const std::wstring& path)
{
    return sim::StartsWithIgnoringCase(path, L"\\\\.\\") || sim::StartsWithIgnoringCase(path, L"\\\\?\\");
}

// Fails with the error CreateFileW would give when the path is no device of the machine.
std::optional<DeviceTarget> FindDevice(const std::wstring& path, DWORD& error)
{
    error = ERROR_FILE_NOT_FOUND;
    if (IsDevicePath(path)) {
        constexpr std::wstring_view drivePrefix = L"PhysicalDrive";
        const std::wstring_view local = std::wstring_view(path).substr(4);
        if (sim::StartsWithIgnoringCase(local, drivePrefix)) {
            if (const auto number = ParseDriveNumber(local.substr(drivePrefix.size()))) {
                if (const auto index = DriveIndex(*number)) {
                    return DeviceTarget{DeviceKind::Drive, *index, Machine().physicalDrives[*index].openError,
                                        std::nullopt};
                }
            }
            return std::nullopt;
        }
        if (const auto volume = sim::FindVolumeOfPath(Machine(), path)) {
            if (volume->rest.empty()) {
                return DeviceTarget{DeviceKind::Volume, volume->volume, Machine().volumes[volume->volume].openError,
                                    std::nullopt};
            }
            // The root folder of a volume is a directory, which opens only for backup semantics.
            error = volume->IsRoot() ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
            return std::nullopt;
        }
        if (const auto other = sim::FindOtherDriveOfPath(Machine(), path)) {
            error = other->second.empty() ? Machine().otherDrives[other->first].openError : ERROR_ACCESS_DENIED;
            return std::nullopt;
        }
    }
    const auto& diskInterfaces = Machine().diskInterfaces;
    for (std::size_t i = 0; i < diskInterfaces.size(); ++i) {
        if (!diskInterfaces[i].devicePath.empty() && sim::EqualIgnoringCase(diskInterfaces[i].devicePath, path)) {
            return DeviceTarget{DeviceKind::Drive, *DriveIndex(diskInterfaces[i].drive), diskInterfaces[i].openError,
                                i};
        }
    }
    return std::nullopt;
}

template <typename Record>
void PutRecord(std::span<BYTE> out, std::size_t offset, const Record& record)
{
    std::memcpy(out.data() + offset, &record, sizeof(Record));
}

// The device I/O controls: each answers with a Win32 error code and, when it fills part of the
// output, the number of bytes it filled.

// The one disk a volume lies on; spanned volumes have none.
std::optional<std::size_t> SingleDiskOf(const OpenDevice& device)
{
    if (device.kind == DeviceKind::Drive) {
        return device.index;
    }
    const sim::Volume& volume = Machine().volumes[device.index];
    if (volume.deviceNumber) {
        return DriveIndex(volume.deviceNumber->disk);
    }
    if (volume.extents.size() != 1) {
        return std::nullopt;
    }
    return DriveIndex(volume.extents.front().disk);
}

// The device type of an optical drive, and the partition number its driver reports, having none.
constexpr DWORD FILE_DEVICE_CD_ROM = 0x2;
constexpr DWORD NoPartitionNumber = 0xFFFFFFFF;

// The volume of an optical drive is the drive itself, not a partition of a disk: it carries the
// drive's own number among the machine's optical drives (CdRom0, CdRom1, ... in the order of the
// volume list), which says nothing about the disks of the same number.
std::optional<STORAGE_DEVICE_NUMBER> OpticalDriveNumber(const OpenDevice& device)
{
    const auto& volumes = Machine().volumes;
    if (device.kind != DeviceKind::Volume || !sim::IsOpticalDrive(volumes[device.index])) {
        return std::nullopt;
    }
    const auto before = std::count_if(volumes.begin(), volumes.begin() + static_cast<std::ptrdiff_t>(device.index),
                                      [](const sim::Volume& volume) { return sim::IsOpticalDrive(volume); });
    return STORAGE_DEVICE_NUMBER{FILE_DEVICE_CD_ROM, static_cast<DWORD>(before), NoPartitionNumber};
}

// A device without a medium: an empty card-reader slot, or the volume of one, or an optical drive
// without a disc. Windows answers ERROR_NOT_READY for what would need the medium.
bool HasNoMedium(const OpenDevice& device)
{
    return device.kind == DeviceKind::Drive ? Machine().physicalDrives[device.index].noMedium
                                            : sim::VolumeHasNoMedium(Machine(), device.index);
}

// The file systems of optical media keep no cluster bitmap to hand out.
bool HasNoClusterBitmap(const sim::Volume& volume)
{
    return volume.fileSystem.empty() || sim::EqualIgnoringCase(volume.fileSystem, L"CDFS") ||
           sim::EqualIgnoringCase(volume.fileSystem, L"UDF");
}

// The error that the device's own faults give the call: the volume's, or for a drive those of the
// interface whose path opened it and then the drive's.
std::optional<std::uint32_t> DeviceFault(const OpenDevice& device, std::wstring_view call)
{
    if (device.kind == DeviceKind::Volume) {
        return sim::VolumeFault(Machine(), device.index, call);
    }
    if (device.diskInterface) {
        if (const auto error = sim::ObjectFault(Machine().diskInterfaces[*device.diskInterface].faults, call)) {
            return error;
        }
    }
    return sim::ObjectFault(Machine().physicalDrives[device.index].faults, call);
}

// Volumes on removable media answer for their disk extents from Windows 2000 SP4 and XP SP1 on;
// before, the volume manager answered only for fixed disks.
bool RemovableVolumeWithoutExtents(const sim::Volume& volume)
{
    if (volume.driveType != DRIVE_REMOVABLE || !Machine().version) {
        return false;
    }
    const OSVERSIONINFOEXW& version = *Machine().version;
    if (version.dwMajorVersion != 5) {
        return false;
    }
    return (version.dwMinorVersion == 0 && version.wServicePackMajor < 4) ||
           (version.dwMinorVersion == 1 && version.wServicePackMajor < 1);
}

DWORD GetDeviceNumber(const OpenDevice& device, std::span<BYTE> out, DWORD& returned)
{
    const auto optical = OpticalDriveNumber(device);
    const auto disk = SingleDiskOf(device);
    if (!optical && !disk) {
        return ERROR_INVALID_FUNCTION;
    }
    if (out.size() < sizeof(STORAGE_DEVICE_NUMBER)) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    if (optical) {
        PutRecord(out, 0, *optical);
        returned = sizeof(STORAGE_DEVICE_NUMBER);
        return ERROR_SUCCESS;
    }
    const sim::PhysicalDrive& drive = Machine().physicalDrives[*disk];
    STORAGE_DEVICE_NUMBER number{FILE_DEVICE_DISK, drive.number, 0};
    if (device.kind == DeviceKind::Volume && Machine().volumes[device.index].deviceNumber) {
        number.PartitionNumber = Machine().volumes[device.index].deviceNumber->partition;
    } else if (device.kind == DeviceKind::Volume) {
        const sim::VolumeExtent& extent = Machine().volumes[device.index].extents.front();
        for (const sim::Partition& partition : drive.partitions) {
            if (partition.startingOffset == extent.startingOffset) {
                number.PartitionNumber = partition.number;
            }
        }
    }
    PutRecord(out, 0, number);
    returned = sizeof(STORAGE_DEVICE_NUMBER);
    return ERROR_SUCCESS;
}

std::vector<BYTE> AdapterDescriptor(const sim::PhysicalDrive& drive)
{
    STORAGE_ADAPTER_DESCRIPTOR descriptor{};
    descriptor.Version = sizeof(STORAGE_ADAPTER_DESCRIPTOR);
    descriptor.Size = sizeof(STORAGE_ADAPTER_DESCRIPTOR);
    descriptor.MaximumTransferLength = 0x20000;
    descriptor.MaximumPhysicalPages = 0x21;
    descriptor.AlignmentMask = 1;
    descriptor.BusType = static_cast<BYTE>(drive.adapterBusType.value_or(drive.busType));
    std::vector<BYTE> bytes(sizeof(descriptor));
    std::memcpy(bytes.data(), &descriptor, sizeof(descriptor));
    return bytes;
}

std::vector<BYTE> DeviceDescriptor(const sim::PhysicalDrive& drive)
{
    STORAGE_DEVICE_DESCRIPTOR descriptor{};
    const std::size_t fixed = offsetof(STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties);
    descriptor.Version = sizeof(STORAGE_DEVICE_DESCRIPTOR);
    descriptor.Size = static_cast<DWORD>(fixed + drive.productId.size() + 1);
    descriptor.RemovableMedia = drive.removableMedia ? 1 : 0;
    descriptor.ProductIdOffset = static_cast<DWORD>(fixed);
    descriptor.BusType = drive.busType;
    std::vector<BYTE> bytes(descriptor.Size, 0);
    std::memcpy(bytes.data(), &descriptor, fixed);
    std::ranges::copy(drive.productId, bytes.begin() + static_cast<std::ptrdiff_t>(fixed));
    return bytes;
}

DWORD QueryProperty(const OpenDevice& device, std::span<const BYTE> in, std::span<BYTE> out, DWORD& returned)
{
    if (in.size() < sizeof(STORAGE_PROPERTY_QUERY)) {
        return ERROR_INVALID_PARAMETER;
    }
    STORAGE_PROPERTY_QUERY query{};
    std::memcpy(&query, in.data(), sizeof(query));
    const auto disk = SingleDiskOf(device);
    if (!disk) {
        return ERROR_INVALID_FUNCTION;
    }
    if (query.QueryType != PropertyStandardQuery ||
        (query.PropertyId != StorageAdapterProperty && query.PropertyId != StorageDeviceProperty)) {
        return ERROR_NOT_SUPPORTED;
    }
    if (out.size() < sizeof(STORAGE_DESCRIPTOR_HEADER)) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    const sim::PhysicalDrive& drive = Machine().physicalDrives[*disk];
    const std::vector<BYTE> descriptor =
        query.PropertyId == StorageAdapterProperty ? AdapterDescriptor(drive) : DeviceDescriptor(drive);
    // A short buffer gets the start of the descriptor; its Size field tells the whole size.
    const std::size_t length = std::min(descriptor.size(), out.size());
    std::memcpy(out.data(), descriptor.data(), length);
    returned = static_cast<DWORD>(length);
    return ERROR_SUCCESS;
}

DWORD GetVolumeDiskExtents(const OpenDevice& device, std::span<BYTE> out, DWORD& returned)
{
    // The optical drive's own driver, not the volume manager, answers for its volume.
    if (device.kind != DeviceKind::Volume || sim::IsOpticalDrive(Machine().volumes[device.index]) ||
        RemovableVolumeWithoutExtents(Machine().volumes[device.index])) {
        return ERROR_INVALID_FUNCTION;
    }
    if (HasNoMedium(device)) {
        return ERROR_NOT_READY;
    }
    if (out.size() < sizeof(VOLUME_DISK_EXTENTS)) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    const auto& extents = Machine().volumes[device.index].extents;
    const DWORD count = static_cast<DWORD>(extents.size());
    PutRecord(out, 0, count);
    const std::size_t fits = (out.size() - offsetof(VOLUME_DISK_EXTENTS, Extents)) / sizeof(DISK_EXTENT);
    const std::size_t written = std::min<std::size_t>(std::max<std::size_t>(fits, 1), extents.size());
    for (std::size_t i = 0; i < written; ++i) {
        const DISK_EXTENT extent{Machine().physicalDrives[*DriveIndex(extents[i].disk)].number,
                                 extents[i].startingOffset, extents[i].length};
        PutRecord(out, offsetof(VOLUME_DISK_EXTENTS, Extents) + i * sizeof(DISK_EXTENT), extent);
    }
    if (fits < extents.size()) {
        // The count tells the caller how large a buffer to offer next time.
        returned = sizeof(VOLUME_DISK_EXTENTS);
        return ERROR_MORE_DATA;
    }
    returned = static_cast<DWORD>(offsetof(VOLUME_DISK_EXTENTS, Extents) +
                                  std::max<std::size_t>(written, 1) * sizeof(DISK_EXTENT));
    return ERROR_SUCCESS;
}

PARTITION_INFORMATION_EX LayoutEntry(const sim::PhysicalDrive& drive, const sim::Partition& partition)
{
    PARTITION_INFORMATION_EX entry{};
    entry.PartitionStyle = drive.partitionStyle;
    entry.StartingOffset = partition.startingOffset;
    entry.PartitionLength = partition.length;
    entry.PartitionNumber = partition.number;
    if (drive.partitionStyle == PARTITION_STYLE_MBR) {
        entry.Mbr.PartitionType = partition.mbrType;
        entry.Mbr.BootIndicator = partition.bootIndicator ? 1 : 0;
        entry.Mbr.RecognizedPartition = partition.mbrType != 0 ? 1 : 0;
        entry.Mbr.HiddenSectors = partition.hiddenSectors;
    } else {
        entry.Gpt.PartitionType = partition.gptType;
        entry.Gpt.PartitionId = partition.gptId;
        entry.Gpt.Attributes = partition.gptAttributes;
        std::ranges::copy(partition.gptName, entry.Gpt.Name);
    }
    return entry;
}

DWORD GetDriveLayout(const OpenDevice& device, std::span<BYTE> out, DWORD& returned)
{
    if (device.kind != DeviceKind::Drive) {
        return ERROR_INVALID_FUNCTION;
    }
    if (HasNoMedium(device)) {
        return ERROR_NOT_READY;
    }
    const sim::PhysicalDrive& drive = Machine().physicalDrives[device.index];
    std::size_t count = drive.partitions.size();
    if (drive.partitionStyle == PARTITION_STYLE_MBR) {
        // Windows reports an MBR table in whole sectors' worth of four entries, unused ones included.
        count = std::max<std::size_t>((count + 3) / 4 * 4, 4);
    }
    const std::size_t needed = offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry) +
                               std::max<std::size_t>(count, 1) * sizeof(PARTITION_INFORMATION_EX);
    if (out.size() < needed) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    std::fill(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(needed), BYTE{0});
    DRIVE_LAYOUT_INFORMATION_EX header{};
    header.PartitionStyle = drive.partitionStyle;
    header.PartitionCount = static_cast<DWORD>(count);
    if (drive.partitionStyle == PARTITION_STYLE_MBR) {
        header.Mbr.Signature = drive.mbrSignature;
    } else if (drive.partitionStyle == PARTITION_STYLE_GPT) {
        constexpr LONGLONG firstUsable = 34 * 512;
        header.Gpt.DiskId = drive.gptDiskId;
        header.Gpt.StartingUsableOffset = firstUsable;
        header.Gpt.UsableLength = drive.length - 2 * firstUsable;
        header.Gpt.MaxPartitionCount = 128;
    }
    std::memcpy(out.data(), &header, offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry));
    for (std::size_t i = 0; i < count; ++i) {
        PARTITION_INFORMATION_EX entry{};
        entry.PartitionStyle = drive.partitionStyle;
        if (i < drive.partitions.size()) {
            entry = LayoutEntry(drive, drive.partitions[i]);
        }
        PutRecord(out, offsetof(DRIVE_LAYOUT_INFORMATION_EX, PartitionEntry) + i * sizeof(PARTITION_INFORMATION_EX),
                  entry);
    }
    returned = static_cast<DWORD>(needed);
    return ERROR_SUCCESS;
}

DWORD GetLengthInfo(const OpenDevice& device, std::span<BYTE> out, DWORD& returned)
{
    if (HasNoMedium(device)) {
        return ERROR_NOT_READY;
    }
    if (out.size() < sizeof(GET_LENGTH_INFORMATION)) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    const GET_LENGTH_INFORMATION length{device.kind == DeviceKind::Drive
                                            ? Machine().physicalDrives[device.index].length
                                            : static_cast<LONGLONG>(Machine().volumes[device.index].totalBytes)};
    PutRecord(out, 0, length);
    returned = sizeof(GET_LENGTH_INFORMATION);
    return ERROR_SUCCESS;
}

// The file system hands out whole bytes of its bitmap, so a slice starts on a multiple of 8.
constexpr LONGLONG BitmapAlignment = 8;

DWORD GetVolumeBitmap(const OpenDevice& device, std::span<const BYTE> in, std::span<BYTE> out, DWORD& returned)
{
    if (device.kind != DeviceKind::Volume) {
        return ERROR_INVALID_FUNCTION;
    }
    if (HasNoMedium(device)) {
        return ERROR_NOT_READY;
    }
    if (HasNoClusterBitmap(Machine().volumes[device.index])) {
        return ERROR_INVALID_FUNCTION;
    }
    if (in.size() < sizeof(STARTING_LCN_INPUT_BUFFER)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (out.size() < sizeof(VOLUME_BITMAP_BUFFER)) {
        return ERROR_INSUFFICIENT_BUFFER;
    }
    const sim::Volume& volume = Machine().volumes[device.index];
    STARTING_LCN_INPUT_BUFFER request{};
    std::memcpy(&request, in.data(), sizeof(request));
    const auto clusters = static_cast<LONGLONG>(volume.ClusterCount());
    if (request.StartingLcn < 0 || request.StartingLcn >= clusters) {
        return ERROR_INVALID_PARAMETER;
    }
    const LONGLONG start = request.StartingLcn - request.StartingLcn % BitmapAlignment;
    const LONGLONG remaining = clusters - start;
    const std::size_t header = offsetof(VOLUME_BITMAP_BUFFER, Buffer);
    const auto needed = static_cast<std::uint64_t>((remaining + 7) / 8);
    const std::size_t bytes = static_cast<std::size_t>(std::min<std::uint64_t>(needed, out.size() - header));
    const VOLUME_BITMAP_BUFFER slice{start, remaining, {}};
    std::memcpy(out.data(), &slice, header);
    volume.allocation.FillBitmap(static_cast<std::uint64_t>(start), static_cast<std::uint64_t>(clusters),
                                 out.subspan(header, bytes));
    returned = static_cast<DWORD>(header + bytes);
    return bytes < needed ? ERROR_MORE_DATA : ERROR_SUCCESS;
}

}  // namespace

BOOL ReadFile(HANDLE file, std::span<BYTE> buffer, DWORD& bytesRead)
{
    const auto device = OpenDevices().open.find(file);
    if (device == OpenDevices().open.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (FaultedWithLastError(L"ReadFile")) {
        return FALSE;
    }
    OpenDevice& open = device->second;
    if (const auto error = DeviceFault(open, L"ReadFile")) {
        return Fail(*error);
    }
    if ((open.access & GENERIC_READ) == 0) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (HasNoMedium(open)) {
        return Fail(ERROR_NOT_READY);
    }
    const bool isDrive = open.kind == DeviceKind::Drive;
    const DWORD sectorSize =
        isDrive ? Machine().physicalDrives[open.index].bytesPerSector : Machine().volumes[open.index].bytesPerSector;
    // Devices are read in whole sectors.
    if (buffer.size() % sectorSize != 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const ULONGLONG length = isDrive ? static_cast<ULONGLONG>(Machine().physicalDrives[open.index].length)
                                     : Machine().volumes[open.index].totalBytes;
    ULONGLONG count = std::min<ULONGLONG>(buffer.size(), length - std::min(length, open.position));
    std::ranges::fill(buffer, BYTE{0});
    if (isDrive) {
        // Sector 0 holds the profile's bytes; the rest of the drive reads as zeros.
        const std::vector<BYTE>& sector0 = Machine().physicalDrives[open.index].sector0;
        const ULONGLONG given = sector0.size() - std::min<ULONGLONG>(sector0.size(), open.position);
        if (open.position < sectorSize && sector0.size() < sectorSize) {
            // A first sector that the profile gives short reads short.
            count = std::min(count, given);
        }
        const auto copied = static_cast<std::size_t>(std::min(count, given));
        std::copy_n(sector0.begin() + static_cast<std::ptrdiff_t>(sector0.size() - given), copied, buffer.begin());
    }
    open.position += count;
    bytesRead = static_cast<DWORD>(count);
    return TRUE;
}

BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, std::span<const BYTE> inBuffer, std::span<BYTE> outBuffer,
                     DWORD& bytesReturned)
{
    const auto open = OpenDevices().open.find(device);
    if (open == OpenDevices().open.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    // A control by its name fails on one device through that device's faults, on every device
    // through the machine's ("DeviceIoControl." and the name). Both names are made once: the
    // contiguous-space check asks for a volume's bitmap thousands of times a run.
    struct ControlFaultNames {
        std::wstring onDevice;
        std::wstring onMachine;
    };
    static const std::map<DWORD, ControlFaultNames> controlNames = [] {
        const std::pair<DWORD, std::wstring_view> names[] = {
            {IOCTL_STORAGE_GET_DEVICE_NUMBER, L"IOCTL_STORAGE_GET_DEVICE_NUMBER"},
            {IOCTL_STORAGE_QUERY_PROPERTY, L"IOCTL_STORAGE_QUERY_PROPERTY"},
            {IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, L"IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS"},
            {IOCTL_DISK_GET_DRIVE_LAYOUT_EX, L"IOCTL_DISK_GET_DRIVE_LAYOUT_EX"},
            {IOCTL_DISK_GET_LENGTH_INFO, L"IOCTL_DISK_GET_LENGTH_INFO"},
            {FSCTL_GET_VOLUME_BITMAP, L"FSCTL_GET_VOLUME_BITMAP"},
        };
        std::map<DWORD, ControlFaultNames> byCode;
        for (const auto& [code, name] : names) {
            byCode.emplace(code, ControlFaultNames{std::wstring(name), L"DeviceIoControl." + std::wstring(name)});
        }
        return byCode;
    }();
    if (const auto controlName = controlNames.find(ioControlCode); controlName != controlNames.end()) {
        if (FaultedWithLastError(controlName->second.onMachine)) {
            return FALSE;
        }
        if (const auto error = DeviceFault(open->second, controlName->second.onDevice)) {
            return Fail(*error);
        }
    }
    const DWORD requiredAccess = (ioControlCode >> 14) & 3;
    if (((requiredAccess & FILE_READ_ACCESS) != 0 && (open->second.access & GENERIC_READ) == 0) ||
        ((requiredAccess & FILE_WRITE_ACCESS) != 0 && (open->second.access & GENERIC_WRITE) == 0)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    DWORD returned = 0;
    DWORD error = ERROR_INVALID_FUNCTION;
    switch (ioControlCode) {
    case IOCTL_STORAGE_GET_DEVICE_NUMBER: error = GetDeviceNumber(open->second, outBuffer, returned); break;
    case IOCTL_STORAGE_QUERY_PROPERTY: error = QueryProperty(open->second, inBuffer, outBuffer, returned); break;
    case IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS: error = GetVolumeDiskExtents(open->second, outBuffer, returned); break;
    case IOCTL_DISK_GET_DRIVE_LAYOUT_EX: error = GetDriveLayout(open->second, outBuffer, returned); break;
    case IOCTL_DISK_GET_LENGTH_INFO: error = GetLengthInfo(open->second, outBuffer, returned); break;
    case FSCTL_GET_VOLUME_BITMAP: error = GetVolumeBitmap(open->second, inBuffer, outBuffer, returned); break;
    default: break;
    }
    if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
        bytesReturned = returned;
    }
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    return TRUE;
}

namespace sim {

std::optional<DWORD> OpenDeviceHandle(const std::wstring& path, DWORD desiredAccess, DWORD shareMode,
                                      DWORD creationDisposition, HANDLE& handle)
{
    DWORD error = ERROR_SUCCESS;
    const auto target = FindDevice(path, error);
    if (!target) {
        if (!IsDevicePath(path)) {
            return std::nullopt;
        }
        return error;
    }
    if (creationDisposition != OPEN_EXISTING) {
        return ERROR_ACCESS_DENIED;
    }
    if (target->openError) {
        return *target->openError;
    }
    // Reading or writing a whole drive or volume is for administrators only; an open without data
    // access, for the queries, is for everyone.
    if ((desiredAccess & (GENERIC_READ | GENERIC_WRITE)) != 0 && !CurrentMachine().administrator) {
        return ERROR_ACCESS_DENIED;
    }
    // The file system keeps its volume open for writing, so an open that does not share writing
    // conflicts with it.
    if (target->kind == DeviceKind::Volume && (shareMode & FILE_SHARE_WRITE) == 0) {
        return ERROR_SHARING_VIOLATION;
    }
    if (target->kind == DeviceKind::Volume && (desiredAccess & GENERIC_WRITE) != 0) {
        if (const auto writeError = CurrentMachine().volumes[target->index].writeOpenError) {
            return *writeError;
        }
    }
    handle = NewHandleValue();
    OpenDevices().open[handle] = OpenDevice{target->kind, target->index, desiredAccess, 0, target->diskInterface};
    return ERROR_SUCCESS;
}

bool CloseDeviceHandle(HANDLE handle)
{
    return OpenDevices().open.erase(handle) == 1;
}

void ResetOpenDevices()
{
    OpenDevices().open.clear();
}

}  // namespace sim

}  // namespace winapi
