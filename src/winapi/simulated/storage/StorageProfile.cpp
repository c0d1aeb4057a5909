#include "winapi/simulated/storage/StorageProfile.h"

#include "winapi/simulated/profile/ProfileFields.h"
#include "winapi/simulated/storage/Sector0.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string_view>

namespace winapi::sim {

namespace {

// exFAT's largest cluster, and the cluster numbers NTFS and exFAT keep in 32 bits: a volume past
// either could not exist, and its bitmap would take longer to scan than any run should.
constexpr std::uint64_t MaxClusterBytes = std::uint64_t{32} << 20;
constexpr std::uint64_t MaxClusters = UINT32_MAX;
// Disks have 512-byte or 4 KiB sectors; the first sector is held whole.
constexpr DWORD MaxSectorBytes = 4096;

// GPT partition types a profile may name instead of spelling the GUID.
constexpr std::string_view GptTypeNamesInOrder = "basicData, efiSystem, msReserved, recovery, ldmMetadata, ldmData";

const std::map<std::wstring, std::wstring>& GptTypeNames()
{
    static const std::map<std::wstring, std::wstring> names{
        {L"basicData", L"{EBD0A0A2-B9E5-4433-87C0-68B6B72699C7}"},
        {L"efiSystem", L"{C12A7328-F81F-11D2-BA4B-00A0C93EC93B}"},
        {L"msReserved", L"{E3C9E316-0B5C-4DB8-817D-F92DF00215AE}"},
        {L"recovery", L"{DE94BBA4-06D1-4D40-A16A-BFD50179D6AC}"},
        {L"ldmMetadata", L"{5808C8AA-7E8F-42E0-85D2-E1E90434CFB3}"},
        {L"ldmData", L"{AF9B60A0-1431-4F62-BC68-3311714A69AD}"},
    };
    return names;
}

const std::map<std::wstring, UINT>& DriveTypeNames()
{
    static const std::map<std::wstring, UINT> names{
        {L"DRIVE_UNKNOWN", DRIVE_UNKNOWN}, {L"DRIVE_REMOVABLE", DRIVE_REMOVABLE}, {L"DRIVE_FIXED", DRIVE_FIXED},
        {L"DRIVE_REMOTE", DRIVE_REMOTE},   {L"DRIVE_CDROM", DRIVE_CDROM},         {L"DRIVE_RAMDISK", DRIVE_RAMDISK},
    };
    return names;
}

const std::map<std::wstring, DWORD>& BusTypeNames()
{
    static const std::map<std::wstring, DWORD> names{
        {L"BusTypeUnknown", 0}, {L"BusTypeScsi", 1},  {L"BusTypeAtapi", 2},    {L"BusTypeAta", 3},
        {L"BusType1394", 4},    {L"BusTypeSsa", 5},   {L"BusTypeFibre", 6},    {L"BusTypeUsb", 7},
        {L"BusTypeRAID", 8},    {L"BusTypeiScsi", 9}, {L"BusTypeSas", 10},     {L"BusTypeSata", 11},
        {L"BusTypeSd", 12},     {L"BusTypeMmc", 13},  {L"BusTypeVirtual", 14}, {L"BusTypeFileBackedVirtual", 15},
    };
    return names;
}

void ReadOpenError(ProfileObject& object, std::optional<DWORD>& openError)
{
    std::uint32_t error = 0;
    if (object.Raw("openError") != nullptr) {
        object.ErrorCode("openError", error);
        openError = error;
    }
}

void ReadPartition(ProfileObject& object, DWORD style, Partition& partition)
{
    object.Unsigned("number", partition.number);
    ReadSigned64(object, "startingOffset", partition.startingOffset);
    ReadSigned64(object, "length", partition.length);
    if (style == PARTITION_STYLE_MBR) {
        ReadByte(object, "type", partition.mbrType);
        object.Boolean("bootIndicator", partition.bootIndicator);
        object.Unsigned("hiddenSectors", partition.hiddenSectors);
        return;
    }
    ReadGuid(object, "type", partition.gptType, &GptTypeNames(), GptTypeNamesInOrder);
    ReadGuid(object, "id", partition.gptId);
    object.Unsigned64("attributes", partition.gptAttributes);
    std::wstring name;
    object.Text("name", name);
    if (name.size() > 36) {
        object.Reader().Fail(object.FieldPath("name"), "longer than 36 characters");
        return;
    }
    partition.gptName.assign(name.begin(), name.end());
}

void ReadPhysicalDrive(ProfileObject& object, PhysicalDrive& drive)
{
    object.Unsigned("number", drive.number);
    ReadNamedNumber(object, "busType", BusTypeNames(), drive.busType);
    ReadNamedNumber(object, "adapterBusType", BusTypeNames(), drive.adapterBusType);
    ReadSigned64(object, "length", drive.length);
    object.Unsigned("bytesPerSector", drive.bytesPerSector);
    object.Boolean("removableMedia", drive.removableMedia);
    std::wstring productId;
    object.Text("productId", productId);
    drive.productId = ToUtf8(productId);
    std::wstring style = L"RAW";
    object.Text("partitionStyle", style);
    if (style == L"MBR") {
        drive.partitionStyle = PARTITION_STYLE_MBR;
    } else if (style == L"GPT") {
        drive.partitionStyle = PARTITION_STYLE_GPT;
    } else if (style != L"RAW") {
        object.Reader().Fail(object.FieldPath("partitionStyle"), "expected MBR, GPT or RAW");
        return;
    }
    object.Unsigned("diskSignature", drive.mbrSignature);
    ReadGuid(object, "diskId", drive.gptDiskId);
    object.Objects("partitions", [&](ProfileObject& partitionObject) {
        ReadPartition(partitionObject, drive.partitionStyle, drive.partitions.emplace_back());
    });
    ReadOpenError(object, drive.openError);
    object.Boolean("noMedium", drive.noMedium);
    object.Faults(DriveFaultCalls(), drive.faults);
    if (drive.bytesPerSector == 0 || drive.bytesPerSector % 512 != 0 || drive.bytesPerSector > MaxSectorBytes) {
        object.Reader().Fail(object.FieldPath("bytesPerSector"), "expected a multiple of 512 up to 4096");
        return;
    }
    if (drive.partitionStyle == PARTITION_STYLE_RAW && !drive.partitions.empty()) {
        object.Reader().Fail(object.FieldPath("partitions"), "a RAW drive has no partition table");
        return;
    }
    if (const nlohmann::json* sector0 = object.Raw("sector0")) {
        if (!sector0->is_string() || !ReadHexBytes(sector0->get_ref<const std::string&>(), drive.sector0) ||
            drive.sector0.size() > drive.bytesPerSector) {
            object.Reader().Fail(object.FieldPath("sector0"),
                                 "expected at most one sector of bytes as a string of hexadecimal digit pairs");
        }
    } else {
        drive.sector0 = BuildSector0(drive);
    }
}

void ReadFragmentation(ProfileObject& object, ClusterAllocation::Fragmentation& fragmentation)
{
    object.Unsigned64("seed", fragmentation.seed);
    object.Unsigned("meanUsedRun", fragmentation.meanUsedRun);
    object.Unsigned("meanFreeRun", fragmentation.meanFreeRun);
    if (fragmentation.meanUsedRun == 0 || fragmentation.meanFreeRun == 0) {
        object.Reader().Fail(object.Path(), "meanUsedRun and meanFreeRun must be 1 or more");
    }
}

// {"repeat": n, "free": a, "used": b}: n times a free clusters, then b used ones.
void ReadRepeatedRun(ProfileObject& object, ClusterAllocation::Run& run)
{
    std::uint64_t repeat = 0;
    ClusterAllocation::Repetition& repetition = run.repetition;
    object.Unsigned64("repeat", repeat);
    object.Unsigned64("free", repetition.freeRun);
    object.Unsigned64("used", repetition.usedRun);
    if (object.Reader().Failed()) {
        return;
    }
    if (object.Raw("free") == nullptr || object.Raw("used") == nullptr || object.Raw("fragmented") != nullptr ||
        repetition.freeRun == 0 || repetition.usedRun == 0 || repetition.freeRun > UINT64_MAX / 2 ||
        repetition.usedRun > UINT64_MAX / 2 || repeat > UINT64_MAX / (repetition.freeRun + repetition.usedRun)) {
        object.Reader().Fail(object.Path(),
                             "a repeated run needs free and used, each of 1 cluster or more, and "
                             "fewer than 2^64 clusters in all");
        return;
    }
    run.state = ClusterAllocation::Run::State::Repeated;
    run.length = repeat * (repetition.freeRun + repetition.usedRun);
}

void ReadRun(ProfileObject& object, ClusterAllocation::Run& run)
{
    using State = ClusterAllocation::Run::State;
    if (object.Raw("repeat") != nullptr) {
        ReadRepeatedRun(object, run);
        return;
    }
    const std::array<std::pair<const char*, State>, 3> kinds{
        {{"used", State::Used}, {"free", State::Free}, {"fragmented", State::Fragmented}}};
    int given = 0;
    for (const auto& [key, state] : kinds) {
        if (object.Raw(key) != nullptr) {
            ++given;
            run.state = state;
            object.Unsigned64(key, run.length);
        }
    }
    if (given != 1) {
        object.Reader().Fail(object.Path(),
                             "expected one of used, free, fragmented or repeat, with a number of clusters");
        return;
    }
    if (run.state == State::Fragmented) {
        ReadFragmentation(object, run.fragmentation);
    }
}

void ReadAllocation(ProfileObject& object, Volume& volume)
{
    const bool hasRuns = object.Raw("runs") != nullptr;
    const bool hasFragmented = object.Raw("fragmented") != nullptr;
    if (hasRuns && hasFragmented) {
        object.Reader().Fail(object.Path(), "give either runs or fragmented, not both");
        return;
    }
    if (hasRuns) {
        std::vector<ClusterAllocation::Run> runs;
        object.Objects("runs", [&](ProfileObject& runObject) { ReadRun(runObject, runs.emplace_back()); });
        volume.allocation = ClusterAllocation::FromRuns(std::move(runs));
    } else if (hasFragmented) {
        object.Object("fragmented", [&](ProfileObject& fragmented) {
            ClusterAllocation::Fragmentation fragmentation;
            ReadFragmentation(fragmented, fragmentation);
            volume.allocation =
                ClusterAllocation::Fragmented(fragmentation.seed, fragmentation.meanUsedRun, fragmentation.meanFreeRun);
        });
    }
}

bool IsVolumeName(const std::wstring& name)
{
    return name.starts_with(L"\\\\?\\Volume{") && name.ends_with(L"}\\");
}

void ReadVolume(ProfileObject& object, Volume& volume)
{
    object.Text("name", volume.name);
    ReadNamedNumber(object, "driveType", DriveTypeNames(), volume.driveType);
    ReadNamedNumber(object, "nameDriveType", DriveTypeNames(), volume.nameDriveType);
    object.TextList("driveLetters", [&](std::wstring letter) {
        const wchar_t upper = letter.size() == 1 && letter[0] >= L'a' && letter[0] <= L'z'
                                  ? static_cast<wchar_t>(letter[0] - L'a' + L'A')
                                  : letter[0];
        if (letter.size() != 1 || upper < L'A' || upper > L'Z') {
            object.Reader().Fail(object.FieldPath("driveLetters"), "expected letters from A to Z");
            return;
        }
        volume.driveLetters += upper;
    });
    object.TextList("mountPoints", [&](std::wstring folder) {
        if (!folder.ends_with(L'\\') || folder.size() < 4) {
            object.Reader().Fail(object.FieldPath("mountPoints"),
                                 "expected folders ending in a backslash, such as \"D:\\\\Data\\\\\"");
            return;
        }
        volume.mountPoints.push_back(std::move(folder));
    });
    object.Objects("unresolvedMountPoints", [&](ProfileObject& pointObject) {
        std::wstring folder;
        std::uint32_t error = 0;
        pointObject.Text("folder", folder);
        pointObject.ErrorCode("error", error);
        if (!folder.ends_with(L'\\') || folder.size() < 2 || folder.starts_with(L'\\')) {
            pointObject.Reader().Fail(pointObject.FieldPath("folder"),
                                      "expected a folder below the root ending in a backslash, such as \"Data\\\\\"");
            return;
        }
        volume.unresolvedMountPoints.emplace_back(std::move(folder), error);
    });
    object.Objects("extents", [&](ProfileObject& extentObject) {
        VolumeExtent& extent = volume.extents.emplace_back();
        extentObject.Unsigned("disk", extent.disk);
        ReadSigned64(extentObject, "startingOffset", extent.startingOffset);
        ReadSigned64(extentObject, "length", extent.length);
    });
    object.Object("deviceNumber", [&](ProfileObject& numberObject) {
        VolumeDeviceNumber& number = volume.deviceNumber.emplace();
        numberObject.Unsigned("disk", number.disk);
        numberObject.Unsigned("partition", number.partition);
    });
    object.Text("fileSystem", volume.fileSystem);
    object.Unsigned("rootAttributes", volume.rootAttributes);
    object.Unsigned64("totalBytes", volume.totalBytes);
    object.Unsigned64("freeBytes", volume.freeBytes);
    volume.freeBytesAvailable = volume.freeBytes;
    object.Unsigned64("freeBytesAvailable", volume.freeBytesAvailable);
    object.Unsigned("bytesPerSector", volume.bytesPerSector);
    object.Unsigned("sectorsPerCluster", volume.sectorsPerCluster);
    object.Object("allocation", [&](ProfileObject& allocation) { ReadAllocation(allocation, volume); });
    ReadOpenError(object, volume.openError);
    if (object.Raw("writeOpenError") != nullptr) {
        std::uint32_t error = 0;
        object.ErrorCode("writeOpenError", error);
        volume.writeOpenError = error;
    }
    object.Faults(VolumeFaultCalls(), volume.faults);
    if (object.Reader().Failed()) {
        return;
    }
    if (!IsVolumeName(volume.name)) {
        object.Reader().Fail(object.FieldPath("name"), "expected a volume name such as \"\\\\?\\Volume{...}\\\"");
    } else if (volume.bytesPerSector == 0 || volume.sectorsPerCluster == 0) {
        object.Reader().Fail(object.Path(), "bytesPerSector and sectorsPerCluster must be 1 or more");
    } else if (std::uint64_t{volume.bytesPerSector} * volume.sectorsPerCluster > MaxClusterBytes) {
        object.Reader().Fail(object.Path(),
                             "bytesPerSector times sectorsPerCluster must be at most 33554432, "
                             "the largest cluster a Windows file system has");
    } else if (volume.ClusterCount() > MaxClusters) {
        object.Reader().Fail(object.FieldPath("totalBytes"),
                             "more than 4294967295 clusters, which no Windows file "
                             "system addresses");
    } else if (volume.freeBytes > volume.totalBytes || volume.freeBytesAvailable > volume.freeBytes) {
        object.Reader().Fail(object.Path(), "expected freeBytesAvailable <= freeBytes <= totalBytes");
    }
}

void ReadOtherDrive(ProfileObject& object, OtherDrive& drive)
{
    std::wstring letter;
    object.Text("letter", letter);
    ReadNamedNumber(object, "driveType", DriveTypeNames(), drive.driveType);
    if (object.Raw("openError") != nullptr) {
        std::uint32_t error = 0;
        object.ErrorCode("openError", error);
        drive.openError = error;
    }
    object.Unsigned("rootAttributes", drive.rootAttributes);
    if (letter.size() != 1 || letter[0] < L'A' || letter[0] > L'Z') {
        object.Reader().Fail(object.FieldPath("letter"), "expected a capital letter from A to Z");
        return;
    }
    drive.letter = letter[0];
}

// What the sections must agree on among themselves.
void CheckStorage(ProfileObject& profile, const Machine& machine)
{
    std::set<DWORD> drives;
    for (std::size_t i = 0; i < machine.physicalDrives.size(); ++i) {
        if (!drives.insert(machine.physicalDrives[i].number).second) {
            profile.Reader().Fail("physicalDrives[" + std::to_string(i) + "].number", "another drive has this number");
            return;
        }
    }
    std::set<std::wstring, CaseInsensitiveLess> names;
    std::set<wchar_t> letters;
    for (std::size_t i = 0; i < machine.volumes.size(); ++i) {
        const Volume& volume = machine.volumes[i];
        const std::string path = "volumes[" + std::to_string(i) + "]";
        if (!names.insert(volume.name).second) {
            profile.Reader().Fail(path + ".name", "another volume has this name");
            return;
        }
        for (const wchar_t letter : volume.driveLetters) {
            if (!letters.insert(letter).second) {
                profile.Reader().Fail(path + ".driveLetters", "another volume has this letter");
                return;
            }
        }
        if (volume.deviceNumber && drives.count(volume.deviceNumber->disk) == 0) {
            profile.Reader().Fail(path + ".deviceNumber.disk", "no physical drive has this number");
            return;
        }
        for (std::size_t e = 0; e < volume.extents.size(); ++e) {
            if (drives.count(volume.extents[e].disk) == 0) {
                profile.Reader().Fail(path + ".extents[" + std::to_string(e) + "].disk",
                                      "no physical drive has this number");
                return;
            }
        }
    }
    for (std::size_t i = 0; i < machine.otherDrives.size(); ++i) {
        if (!letters.insert(machine.otherDrives[i].letter).second) {
            profile.Reader().Fail("otherDrives[" + std::to_string(i) + "].letter",
                                  "a volume or another drive has this letter");
            return;
        }
    }
    for (std::size_t i = 0; i < machine.diskInterfaces.size(); ++i) {
        const DiskInterface& diskInterface = machine.diskInterfaces[i];
        if (!diskInterface.devicePath.empty() && drives.count(diskInterface.drive) == 0) {
            profile.Reader().Fail("diskInterfaces[" + std::to_string(i) + "].drive",
                                  "no physical drive has this number");
            return;
        }
    }
}

}  // namespace

const std::vector<std::wstring_view>& DriveFaultCalls()
{
    static const std::vector<std::wstring_view> calls{
        L"IOCTL_STORAGE_GET_DEVICE_NUMBER",
        L"IOCTL_STORAGE_QUERY_PROPERTY",
        L"IOCTL_DISK_GET_DRIVE_LAYOUT_EX",
        L"IOCTL_DISK_GET_LENGTH_INFO",
        L"ReadFile",
    };
    return calls;
}

const std::vector<std::wstring_view>& VolumeFaultCalls()
{
    static const std::vector<std::wstring_view> calls{
        L"IOCTL_STORAGE_GET_DEVICE_NUMBER",
        L"IOCTL_STORAGE_QUERY_PROPERTY",
        L"IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS",
        L"IOCTL_DISK_GET_LENGTH_INFO",
        L"FSCTL_GET_VOLUME_BITMAP",
        L"ReadFile",
        L"FindNextVolumeW",
        L"FindFirstVolumeMountPointW",
        L"GetFileAttributesExW",
        L"GetVolumeInformationW",
        L"GetDiskFreeSpaceW",
        L"GetDiskFreeSpaceExW",
    };
    return calls;
}

const std::vector<std::wstring_view>& InterfaceFaultCalls()
{
    static const std::vector<std::wstring_view> calls{
        L"SetupDiGetDeviceInterfaceDetailW", L"IOCTL_STORAGE_GET_DEVICE_NUMBER", L"IOCTL_STORAGE_QUERY_PROPERTY"};
    return calls;
}

void ReadStorage(ProfileObject& profile, Machine& machine)
{
    profile.Objects("physicalDrives",
                    [&](ProfileObject& object) { ReadPhysicalDrive(object, machine.physicalDrives.emplace_back()); });
    profile.Objects("volumes", [&](ProfileObject& object) { ReadVolume(object, machine.volumes.emplace_back()); });
    profile.Objects("otherDrives",
                    [&](ProfileObject& object) { ReadOtherDrive(object, machine.otherDrives.emplace_back()); });
    profile.Objects("diskInterfaces", [&](ProfileObject& object) {
        DiskInterface& diskInterface = machine.diskInterfaces.emplace_back();
        object.Text("devicePath", diskInterface.devicePath);
        object.Unsigned("drive", diskInterface.drive);
        ReadOpenError(object, diskInterface.openError);
        object.Faults(InterfaceFaultCalls(), diskInterface.faults);
        // An interface whose detail cannot be read may leave its device path out.
        if (diskInterface.devicePath.empty() &&
            ObjectFault(diskInterface.faults, L"SetupDiGetDeviceInterfaceDetailW")) {
            return;
        }
        if (!object.Reader().Failed() &&
            (!diskInterface.devicePath.starts_with(L"\\\\?\\") || diskInterface.devicePath.size() == 4)) {
            object.Reader().Fail(object.FieldPath("devicePath"),
                                 "expected a device path such as \"\\\\?\\ide#disk...\"");
        }
    });
    if (!profile.Reader().Failed()) {
        CheckStorage(profile, machine);
    }
}

}  // namespace winapi::sim
