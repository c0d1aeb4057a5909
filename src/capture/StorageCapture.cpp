#include "capture/StorageCapture.h"

#include "capture/AllocationSummary.h"
#include "capture/BitmapSlice.h"
#include "capture/CapturedFaults.h"
#include "platform/DriveLayout.h"
#include "platform/PhysicalDrives.h"
#include "platform/UsbDisk.h"
#include "winapi/SetupApi.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace winapi;

// The drive numbers the checks probe: the RAID check looks at all of them, gaps or not; past them
// the drive walk goes on while drives open, and so does the capture.
constexpr int ProbedDrives = 32;
constexpr DWORD SectorSizes[] = {512, 4096};
constexpr std::size_t DescriptorBufferSize = 1024;
constexpr std::size_t MaximumExtents = 64;
constexpr std::size_t BitmapSliceBytes = 1 << 20;
const std::wstring DevicePrefix = L"\\\\.\\";

template <typename Record>
bool Control(HANDLE device, DWORD code, const Record* input, std::span<BYTE> output, DWORD& returned)
{
    const std::span<const BYTE> in =
        input == nullptr ? std::span<const BYTE>{} : std::span(reinterpret_cast<const BYTE*>(input), sizeof(Record));
    return DeviceIoControl(device, code, in, output, returned) != FALSE;
}

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::wstring GuidText(const GUID& guid)
{
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return Widen(text.data());
}

std::wstring HexText(std::span<const BYTE> bytes)
{
    constexpr std::wstring_view digits = L"0123456789abcdef";
    std::wstring hex;
    for (const BYTE byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
    }
    return hex;
}

void Member(JsonWriter& writer, const char* name, std::uint64_t number)
{
    writer.Key(name);
    writer.Unsigned(number);
}

void SignedMember(JsonWriter& writer, const char* name, std::int64_t number)
{
    writer.Key(name);
    writer.Signed(number);
}

void TextMember(JsonWriter& writer, const char* name, std::wstring_view text)
{
    writer.Key(name);
    writer.String(text);
}

// The bus that the drive's adapter descriptor names, or nothing if the drive does not answer.
std::optional<DWORD> AdapterBusType(HANDLE drive)
{
    const STORAGE_PROPERTY_QUERY query{StorageAdapterProperty, PropertyStandardQuery, {0}};
    STORAGE_ADAPTER_DESCRIPTOR descriptor{};
    DWORD returned = 0;
    if (!Control(drive, IOCTL_STORAGE_QUERY_PROPERTY, &query,
                 std::span(reinterpret_cast<BYTE*>(&descriptor), sizeof(descriptor)), returned) ||
        returned < offsetof(STORAGE_ADAPTER_DESCRIPTOR, BusType) + sizeof(descriptor.BusType)) {
        return std::nullopt;
    }
    return descriptor.BusType;
}

void CaptureDescriptor(JsonWriter& writer, CapturedFaults& faults, HANDLE drive)
{
    const STORAGE_PROPERTY_QUERY query{StorageDeviceProperty, PropertyStandardQuery, {0}};
    std::vector<BYTE> buffer(DescriptorBufferSize, 0);
    DWORD returned = 0;
    if (!Control(drive, IOCTL_STORAGE_QUERY_PROPERTY, &query, buffer, returned)) {
        faults.Add(L"IOCTL_STORAGE_QUERY_PROPERTY", GetLastError());
        return;
    }
    STORAGE_DEVICE_DESCRIPTOR descriptor{};
    std::memcpy(&descriptor, buffer.data(), std::min<std::size_t>(sizeof(descriptor), returned));
    Member(writer, "busType", descriptor.BusType);
    // The USB check reads the adapter's bus, the RAID check the device's.
    if (const std::optional<DWORD> adapter = AdapterBusType(drive); adapter && *adapter != descriptor.BusType) {
        Member(writer, "adapterBusType", *adapter);
    }
    writer.Key("removableMedia");
    writer.Boolean(descriptor.RemovableMedia != 0);
    if (descriptor.ProductIdOffset != 0 && descriptor.ProductIdOffset < returned) {
        const char* product = reinterpret_cast<const char*>(buffer.data() + descriptor.ProductIdOffset);
        TextMember(writer, "productId",
                   Widen(std::string(product, strnlen(product, returned - descriptor.ProductIdOffset))));
    }
}

void CaptureLength(JsonWriter& writer, CapturedFaults& faults, HANDLE drive)
{
    GET_LENGTH_INFORMATION length{};
    DWORD returned = 0;
    if (!Control<int>(drive, IOCTL_DISK_GET_LENGTH_INFO, nullptr,
                      std::span(reinterpret_cast<BYTE*>(&length), sizeof(length)), returned)) {
        faults.Add(L"IOCTL_DISK_GET_LENGTH_INFO", GetLastError());
        return;
    }
    SignedMember(writer, "length", length.Length);
}

void CapturePartition(JsonWriter& writer, ProfilePrivacy& privacy, const PARTITION_INFORMATION_EX& entry)
{
    writer.BeginObject();
    Member(writer, "number", entry.PartitionNumber);
    SignedMember(writer, "startingOffset", entry.StartingOffset);
    SignedMember(writer, "length", entry.PartitionLength);
    if (entry.PartitionStyle == PARTITION_STYLE_GPT) {
        TextMember(writer, "type", GuidText(entry.Gpt.PartitionType));
        TextMember(writer, "id", GuidText(privacy.PartitionId(entry.Gpt.PartitionId)));
        Member(writer, "attributes", entry.Gpt.Attributes);
        std::wstring name;
        for (const char16_t unit : entry.Gpt.Name) {
            if (unit == u'\0') {
                break;
            }
            name += static_cast<wchar_t>(unit);
        }
        TextMember(writer, "name", name);
    } else {
        Member(writer, "type", entry.Mbr.PartitionType);
        writer.Key("bootIndicator");
        writer.Boolean(entry.Mbr.BootIndicator != 0);
        Member(writer, "hiddenSectors", entry.Mbr.HiddenSectors);
    }
    writer.EndObject();
}

void CaptureLayout(JsonWriter& writer, ProfilePrivacy& privacy, CapturedFaults& faults, HANDLE drive)
{
    const std::optional<DriveLayout> layout = ReadDriveLayout(drive);
    if (!layout) {
        faults.Add(L"IOCTL_DISK_GET_DRIVE_LAYOUT_EX", GetLastError());
        return;
    }
    const DWORD style = layout->PartitionStyle();
    if (style != PARTITION_STYLE_MBR && style != PARTITION_STYLE_GPT) {
        return;
    }
    TextMember(writer, "partitionStyle", style == PARTITION_STYLE_MBR ? L"MBR" : L"GPT");
    writer.Key("partitions");
    writer.BeginArray();
    for (DWORD index = 0; index < layout->PartitionCount(); ++index) {
        const PARTITION_INFORMATION_EX entry = layout->Entry(index);
        // The unused entries of an MBR table: the replay fills the groups of four itself.
        if (entry.PartitionStyle == PARTITION_STYLE_MBR && entry.Mbr.PartitionType == 0) {
            continue;
        }
        CapturePartition(writer, privacy, entry);
    }
    writer.EndArray();
}

void CaptureSector0(JsonWriter& writer, ProfilePrivacy& privacy, CapturedFaults& faults, HANDLE drive)
{
    for (const DWORD sectorSize : SectorSizes) {
        std::vector<BYTE> sector(sectorSize, 0);
        DWORD read = 0;
        if (ReadFile(drive, sector, read)) {
            sector.resize(read);
            privacy.Sector0(sector);
            Member(writer, "bytesPerSector", sectorSize);
            TextMember(writer, "sector0", HexText(sector));
            return;
        }
        // A drive with larger sectors refuses a read of fewer bytes than one sector.
        if (GetLastError() != ERROR_INVALID_PARAMETER) {
            break;
        }
    }
    faults.Add(L"ReadFile", GetLastError());
}

void CaptureDrives(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy)
{
    writer.Key("physicalDrives");
    writer.BeginArray();
    bool walkGoesOn = true;
    for (int number = 0; number < ProbedDrives || walkGoesOn; ++number) {
        const std::wstring path = PhysicalDrivePath(number);
        const UniqueFile drive = CreateFileW(path, PhysicalDriveAccess, PhysicalDriveShare, OPEN_EXISTING, 0);
        const DWORD openError = drive ? ERROR_SUCCESS : GetLastError();
        walkGoesOn = static_cast<bool>(drive);
        if (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND) {
            continue;
        }
        log.Count("physical drives");
        writer.BeginObject();
        Member(writer, "number", static_cast<std::uint64_t>(number));
        if (!drive) {
            Member(writer, "openError", openError);
            writer.EndObject();
            continue;
        }
        CapturedFaults faults(log, L"physical drive " + std::to_wstring(number));
        CaptureDescriptor(writer, faults, drive.get());
        CaptureLength(writer, faults, drive.get());
        CaptureLayout(writer, privacy, faults, drive.get());
        CaptureSector0(writer, privacy, faults, drive.get());
        faults.WriteMember(writer);
        writer.EndObject();
    }
    writer.EndArray();
}

// The volume names in the order Windows lists them, each with its drive letters and the calls
// that failed on it.
struct VolumeNames {
    std::vector<std::wstring> names;
    std::map<std::wstring, std::wstring> letters;
    // The drive letters that name no volume (SUBST, network shares, some RAM disks).
    std::wstring otherLetters;
    std::map<std::wstring, CapturedFaults> faults;
    // By host volume: its folders that are mount points of no volume that answers, each with the
    // error GetVolumeNameForVolumeMountPointW gave for it.
    std::map<std::wstring, std::vector<std::pair<std::wstring, DWORD>>> unresolvedMountPoints;

    CapturedFaults& FaultsOf(const std::wstring& name, CaptureLog& log)
    {
        return faults.try_emplace(name, log, L"volume " + name).first->second;
    }
};

VolumeNames ListVolumes(CaptureLog& log)
{
    VolumeNames volumes;
    std::array<wchar_t, MAX_PATH> name{};
    const UniqueFindVolume search = FindFirstVolumeW(name);
    if (!search) {
        if (GetLastError() != ERROR_NO_MORE_FILES) {
            log.Fault(L"FindFirstVolumeW", GetLastError());
        }
        return volumes;
    }
    do {
        volumes.names.emplace_back(name.data());
    } while (FindNextVolumeW(search.get(), name));
    // The walk broke off after the last volume it listed: that volume holds the failure, so
    // that every walk of the replay stops at the same place.
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        volumes.FaultsOf(volumes.names.back(), log).Add(L"FindNextVolumeW", GetLastError());
    }
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        if ((drives & (DWORD{1} << (letter - L'A'))) == 0) {
            continue;
        }
        if (GetVolumeNameForVolumeMountPointW(std::wstring{letter, L':', L'\\'}, name)) {
            volumes.letters[name.data()] += letter;
        } else {
            volumes.otherLetters += letter;
        }
    }
    return volumes;
}

// The folders where each volume is mounted on another, by the mounted volume's name.
std::map<std::wstring, std::vector<std::wstring>> ListMountPoints(VolumeNames& volumes, CaptureLog& log,
                                                                  ProfilePrivacy& privacy)
{
    std::map<std::wstring, std::vector<std::wstring>> mounted;
    for (const std::wstring& host : volumes.names) {
        const auto letters = volumes.letters.find(host);
        const std::wstring root =
            letters == volumes.letters.end() ? host : std::wstring{letters->second[0], L':', L'\\'};
        std::array<wchar_t, MAX_PATH> folder{};
        const UniqueFindVolumeMountPoint search = FindFirstVolumeMountPointW(host, folder);
        if (!search) {
            const DWORD error = GetLastError();
            if (error != ERROR_NO_MORE_FILES && error != ERROR_PATH_NOT_FOUND && error != ERROR_NOT_READY &&
                error != ERROR_UNRECOGNIZED_VOLUME) {
                volumes.FaultsOf(host, log).Add(L"FindFirstVolumeMountPointW", error);
            }
            continue;
        }
        do {
            std::array<wchar_t, MAX_PATH> target{};
            if (GetVolumeNameForVolumeMountPointW(host + folder.data(), target)) {
                mounted[target.data()].push_back(root + privacy.MountFolder(root, folder.data()));
            } else {
                // A volume offline or removed, or a folder the user cannot open: the checks list
                // the folder all the same.
                const DWORD error = GetLastError();
                volumes.unresolvedMountPoints[host].emplace_back(privacy.MountFolder(root, folder.data()), error);
            }
        } while (FindNextVolumeMountPointW(search.get(), folder));
    }
    return mounted;
}

void CaptureExtents(JsonWriter& writer, CapturedFaults& faults, HANDLE volume)
{
    std::vector<BYTE> buffer(offsetof(VOLUME_DISK_EXTENTS, Extents) + MaximumExtents * sizeof(DISK_EXTENT), 0);
    DWORD returned = 0;
    if (!Control<int>(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, buffer, returned)) {
        faults.Add(L"IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS", GetLastError());
        return;
    }
    DWORD count = 0;
    std::memcpy(&count, buffer.data(), sizeof(count));
    writer.Key("extents");
    writer.BeginArray();
    for (DWORD index = 0; index < std::min<DWORD>(count, MaximumExtents); ++index) {
        DISK_EXTENT extent{};
        std::memcpy(&extent, buffer.data() + offsetof(VOLUME_DISK_EXTENTS, Extents) + index * sizeof(DISK_EXTENT),
                    sizeof(extent));
        writer.BeginInlineObject();
        Member(writer, "disk", extent.DiskNumber);
        SignedMember(writer, "startingOffset", extent.StartingOffset);
        SignedMember(writer, "length", extent.ExtentLength);
        writer.EndObject();
    }
    writer.EndArray();
}

// Adds the clusters [first, end) of a bitmap slice to summary, a byte at a time where the byte is
// all in use or all free.
void AddSlice(std::span<const BYTE> bitmap, std::uint64_t first, std::uint64_t end, AllocationSummary& summary)
{
    std::uint64_t bit = first;
    while (bit < end) {
        const BYTE byte = bitmap[static_cast<std::size_t>(bit / 8)];
        if (bit % 8 == 0 && end - bit >= 8 && (byte == 0 || byte == 0xFF)) {
            summary.Add(byte != 0, 8);
            bit += 8;
        } else {
            summary.Add((byte >> (bit % 8) & 1) != 0, 1);
            ++bit;
        }
    }
}

void WriteAllocation(JsonWriter& writer, CaptureLog& log, const std::vector<AllocationSummary::Run>& runs)
{
    using Kind = AllocationSummary::Run::Kind;
    writer.Key("allocation");
    writer.BeginObject();
    writer.Key("runs");
    writer.BeginArray();
    for (const AllocationSummary::Run& run : runs) {
        writer.BeginInlineObject();
        if (run.kind == Kind::Repeated) {
            Member(writer, "repeat", run.clusters);
            Member(writer, "free", run.freeRun);
            Member(writer, "used", run.usedRun);
        } else {
            Member(writer, run.kind == Kind::Used ? "used" : "free", run.clusters);
        }
        writer.EndObject();
    }
    writer.EndArray();
    writer.EndObject();
    log.Count("allocation runs", runs.size());
}

// The allocation bitmap, boiled down to what the contiguous-space check can tell of it, so that a
// volume of millions of fragments takes a few kilobytes of the profile.
void CaptureAllocation(JsonWriter& writer, CaptureLog& log, CapturedFaults& faults, HANDLE volume)
{
    std::vector<BYTE> buffer(offsetof(VOLUME_BITMAP_BUFFER, Buffer) + BitmapSliceBytes, 0);
    std::optional<AllocationSummary> summary;
    STARTING_LCN_INPUT_BUFFER start{0};
    for (;;) {
        DWORD returned = 0;
        const bool complete = Control(volume, FSCTL_GET_VOLUME_BITMAP, &start, buffer, returned);
        if (!complete && GetLastError() != ERROR_MORE_DATA) {
            faults.Add(L"FSCTL_GET_VOLUME_BITMAP", GetLastError());
            return;
        }
        const std::optional<BitmapSlice> slice = BitmapSlice::Read(buffer, returned);
        if (!slice) {
            // An answer without its header tells nothing of the volume's clusters.
            faults.Add(L"FSCTL_GET_VOLUME_BITMAP", ERROR_INVALID_DATA);
            return;
        }
        if (!summary) {
            // The first slice starts at cluster 0, so its size is the volume's.
            summary.emplace(static_cast<std::uint64_t>(slice->BitmapSize()));
        }
        // The slice may start below the cluster asked for: skip what is already counted.
        AddSlice(slice->Bits(), static_cast<std::uint64_t>(start.StartingLcn - slice->StartingLcn()), slice->Clusters(),
                 *summary);
        if (complete || slice->Clusters() == 0) {
            break;
        }
        start.StartingLcn = slice->StartingLcn() + static_cast<LONGLONG>(slice->Clusters());
    }
    WriteAllocation(writer, log, summary->Runs());
}

// The free-space calls fail this way on a volume without a file system; anything else is a fault.
bool Unmounted(DWORD error)
{
    return error == ERROR_UNRECOGNIZED_VOLUME || error == ERROR_NOT_READY;
}

void CaptureVolume(JsonWriter& writer, CaptureLog& log, CapturedFaults& faults, const std::wstring& name,
                   const std::wstring& letters, const std::vector<std::wstring>& mountPoints,
                   const std::vector<std::pair<std::wstring, DWORD>>& unresolvedMountPoints)
{
    log.Count("volumes");
    writer.BeginObject();
    TextMember(writer, "name", name);
    // The checks ask by the drive letter's root where there is one, and by the volume name in the
    // volume walks; a machine may answer the two differently.
    const std::wstring root = letters.empty() ? name : std::wstring{letters[0], L':', L'\\'};
    const UINT driveType = GetDriveTypeW(root);
    Member(writer, "driveType", driveType);
    if (const UINT nameDriveType = GetDriveTypeW(name); nameDriveType != driveType) {
        Member(writer, "nameDriveType", nameDriveType);
    }
    writer.Key("driveLetters");
    writer.BeginArray();
    for (const wchar_t letter : letters) {
        writer.String(std::wstring(1, letter));
    }
    writer.EndArray();
    writer.Key("mountPoints");
    writer.BeginArray();
    for (const std::wstring& folder : mountPoints) {
        writer.String(folder);
    }
    writer.EndArray();
    if (!unresolvedMountPoints.empty()) {
        writer.Key("unresolvedMountPoints");
        writer.BeginArray();
        for (const auto& [folder, error] : unresolvedMountPoints) {
            writer.BeginInlineObject();
            TextMember(writer, "folder", folder);
            Member(writer, "error", error);
            writer.EndObject();
        }
        writer.EndArray();
    }

    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    const std::wstring deviceRoot = letters.empty() ? name : DevicePrefix + root;
    if (GetFileAttributesExW(deviceRoot, GetFileExInfoStandard, attributes)) {
        Member(writer, "rootAttributes", attributes.dwFileAttributes);
    } else if (!Unmounted(GetLastError())) {
        faults.Add(L"GetFileAttributesExW", GetLastError());
    }
    std::array<wchar_t, MAX_PATH> fileSystem{};
    const bool mounted = GetVolumeInformationW(root, fileSystem) != FALSE;
    if (mounted) {
        TextMember(writer, "fileSystem", fileSystem.data());
        ULONGLONG available = 0;
        ULONGLONG total = 0;
        ULONGLONG free = 0;
        if (GetDiskFreeSpaceExW(root, available, total, free)) {
            Member(writer, "totalBytes", total);
            Member(writer, "freeBytes", free);
            Member(writer, "freeBytesAvailable", available);
        } else {
            faults.Add(L"GetDiskFreeSpaceExW", GetLastError());
        }
        DWORD sectorsPerCluster = 0;
        DWORD bytesPerSector = 0;
        DWORD freeClusters = 0;
        DWORD totalClusters = 0;
        if (GetDiskFreeSpaceW(root, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters)) {
            Member(writer, "bytesPerSector", bytesPerSector);
            Member(writer, "sectorsPerCluster", sectorsPerCluster);
        } else {
            faults.Add(L"GetDiskFreeSpaceW", GetLastError());
        }
    } else if (!Unmounted(GetLastError())) {
        faults.Add(L"GetVolumeInformationW", GetLastError());
    }

    const std::wstring devicePath =
        letters.empty() ? name.substr(0, name.size() - 1) : DevicePrefix + std::wstring{letters[0], L':'};
    const UniqueFile volume =
        CreateFileW(devicePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    if (!volume) {
        Member(writer, "openError", GetLastError());
    } else {
        // The contiguous-space check opens the volume for writing too, which a write-protected
        // medium refuses.
        const UniqueFile writable =
            CreateFileW(devicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
        if (!writable) {
            Member(writer, "writeOpenError", GetLastError());
        }
        if (const std::optional<STORAGE_DEVICE_NUMBER> number = GetDeviceNumber(volume.get())) {
            writer.Key("deviceNumber");
            writer.BeginInlineObject();
            Member(writer, "disk", number->DeviceNumber);
            Member(writer, "partition", number->PartitionNumber);
            writer.EndObject();
        }
        CaptureExtents(writer, faults, volume.get());
        if (mounted) {
            CaptureAllocation(writer, log, faults, volume.get());
        }
    }
    faults.WriteMember(writer);
    writer.EndObject();
}

// The letters that name no volume: their type, and, where the checks open and read a letter (a
// fixed drive's), what opening its device path answers and its root folder's attributes. Other
// letters are not opened: a disconnected network drive would cost a network time-out for an
// answer no check asks for.
void CaptureOtherDrives(JsonWriter& writer, CaptureLog& log, const std::wstring& letters)
{
    writer.Key("otherDrives");
    writer.BeginArray();
    for (const wchar_t letter : letters) {
        const UINT driveType = GetDriveTypeW(std::wstring{letter, L':', L'\\'});
        DWORD openError = ERROR_SUCCESS;
        if (driveType == DRIVE_FIXED) {
            const UniqueFile device =
                CreateFileW(DevicePrefix + std::wstring{letter, L':'}, GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
            if (device) {
                // A letter whose device opens is a volume that Windows does not list; a profile
                // cannot hold it.
                log.Count("drive letters that open but name no listed volume (left out)");
                continue;
            }
            openError = GetLastError();
        }
        log.Count("drive letters of no volume");
        writer.BeginInlineObject();
        TextMember(writer, "letter", std::wstring(1, letter));
        Member(writer, "driveType", driveType);
        if (driveType == DRIVE_FIXED) {
            Member(writer, "openError", openError);
            WIN32_FILE_ATTRIBUTE_DATA attributes{};
            if (GetFileAttributesExW(DevicePrefix + std::wstring{letter, L':', L'\\'}, GetFileExInfoStandard,
                                     attributes)) {
                Member(writer, "rootAttributes", attributes.dwFileAttributes);
            }
        }
        writer.EndObject();
    }
    writer.EndArray();
}

void CaptureVolumes(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy)
{
    VolumeNames volumes = ListVolumes(log);
    const auto mountPoints = ListMountPoints(volumes, log, privacy);
    writer.Key("volumes");
    writer.BeginArray();
    for (const std::wstring& name : volumes.names) {
        const auto letters = volumes.letters.find(name);
        const auto mounted = mountPoints.find(name);
        const auto unresolved = volumes.unresolvedMountPoints.find(name);
        CaptureVolume(writer, log, volumes.FaultsOf(name, log), name,
                      letters == volumes.letters.end() ? std::wstring() : letters->second,
                      mounted == mountPoints.end() ? std::vector<std::wstring>() : mounted->second,
                      unresolved == volumes.unresolvedMountPoints.end() ? std::vector<std::pair<std::wstring, DWORD>>()
                                                                        : unresolved->second);
    }
    writer.EndArray();
    CaptureOtherDrives(writer, log, volumes.otherLetters);
}

void CaptureDiskInterfaces(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy)
{
    writer.Key("diskInterfaces");
    writer.BeginArray();
    const UniqueDevInfo list = SetupDiGetClassDevsW(GUID_DEVINTERFACE_DISK, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (!list) {
        log.Fault(L"SetupDiGetClassDevsW", GetLastError());
    }
    for (DWORD index = 0; list; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof(data);
        if (!SetupDiEnumDeviceInterfaces(list.get(), GUID_DEVINTERFACE_DISK, index, data)) {
            break;
        }
        CapturedFaults faults(log, L"disk interface " + std::to_wstring(index));
        const std::optional<std::wstring> path = InterfaceDevicePath(list.get(), data);
        if (!path) {
            // The interface is listed, but says nothing of itself: the USB check passes it over.
            faults.Add(L"SetupDiGetDeviceInterfaceDetailW", GetLastError());
            log.Count("disk interfaces");
            writer.BeginObject();
            faults.WriteMember(writer);
            writer.EndObject();
            continue;
        }
        const UniqueFile disk = CreateFileW(*path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
        const std::optional<STORAGE_DEVICE_NUMBER> number =
            disk ? GetDeviceNumber(disk.get()) : std::optional<STORAGE_DEVICE_NUMBER>();
        if (!number) {
            // Without its drive number an interface cannot be placed in a profile.
            log.Count("disk interfaces whose drive cannot be told (left out)");
            continue;
        }
        // The bus as the USB check asks for it, through the interface.
        const STORAGE_PROPERTY_QUERY query{StorageAdapterProperty, PropertyStandardQuery, {0}};
        STORAGE_ADAPTER_DESCRIPTOR adapter{};
        DWORD returned = 0;
        if (!Control(disk.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query,
                     std::span(reinterpret_cast<BYTE*>(&adapter), sizeof(adapter)), returned)) {
            faults.Add(L"IOCTL_STORAGE_QUERY_PROPERTY", GetLastError());
        }
        log.Count("disk interfaces");
        writer.BeginObject();
        TextMember(writer, "devicePath", privacy.DevicePath(*path));
        Member(writer, "drive", number->DeviceNumber);
        faults.WriteMember(writer);
        writer.EndObject();
    }
    writer.EndArray();
}

}  // namespace

void CaptureStorage(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy)
{
    CaptureDrives(writer, log, privacy);
    CaptureVolumes(writer, log, privacy);
    CaptureDiskInterfaces(writer, log, privacy);
}
