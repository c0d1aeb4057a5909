// The simulated storage answers with the Windows layouts and buffer rules, and a profile that
// describes impossible storage is refused with the field named.

#include "support/ScopedMachine.h"
#include "winapi/SetupApi.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

namespace {

using namespace winapi;

// C: 1000 clusters: 10 used, 500 free, the rest used. D: mounted also in C:\Data\, spanning two
// disks. An administrator unless a test says otherwise.
const std::string Profile = R"json({
  "administrator": true,
  "programFilesFolder": "C:\\Program Files (x86)",
  "physicalDrives": [
    { "number": 0, "busType": "BusTypeSata", "length": 1000000000, "productId": "ACME SSD", "partitionStyle": "GPT",
      "partitions": [{ "number": 2, "startingOffset": 1048576, "length": 4096000, "type": "basicData" }] },
    { "number": 4, "busType": 17, "adapterBusType": 18, "length": 2000000000 }
  ],
  "volumes": [
    { "name": "\\\\?\\Volume{c}\\", "driveLetters": ["c"], "fileSystem": "NTFS", "rootAttributes": 2064,
      "extents": [{ "disk": 0, "startingOffset": 1048576, "length": 4096000 }],
      "totalBytes": 4096000, "freeBytes": 2048000, "freeBytesAvailable": 1024000,
      "allocation": { "runs": [{ "used": 10 }, { "free": 500 }] } },
    { "name": "\\\\?\\Volume{d}\\", "driveLetters": ["D"], "mountPoints": ["C:\\Data\\", "c:\\More\\Deep\\"],
      "fileSystem": "FAT32",
      "extents": [{ "disk": 0, "startingOffset": 5000000, "length": 4096 }, { "disk": 4, "startingOffset": 0, "length": 4096 }],
      "totalBytes": 8192, "freeBytes": 0 },
    { "name": "\\\\?\\Volume{raw}\\", "totalBytes": 4096 }
  ],
  "diskInterfaces": [{ "devicePath": "\\\\?\\scsi#disk0", "drive": 0 }]
})json";

class SimulatedStorageTest : public ::testing::Test {
protected:
    ScopedMachine machine_{Profile};

    static UniqueFile Open(const std::wstring& path, DWORD access = GENERIC_READ)
    {
        return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    }

    template <typename Input>
    static BOOL Control(HANDLE device, DWORD code, const Input& input, std::vector<BYTE>& output, DWORD& returned)
    {
        return DeviceIoControl(device, code, std::span(reinterpret_cast<const BYTE*>(&input), sizeof(input)), output,
                               returned);
    }
};

TEST_F(SimulatedStorageTest, BitmapSlicesFollowTheFileSystemRules)
{
    const UniqueFile volume = Open(L"\\\\.\\C:");
    ASSERT_TRUE(volume);
    std::vector<BYTE> out(sizeof(VOLUME_BITMAP_BUFFER) + 4);
    DWORD returned = 0;
    // Asked for cluster 13, the slice starts at 8 and counts the clusters from there to the end.
    EXPECT_FALSE(Control(volume.get(), FSCTL_GET_VOLUME_BITMAP, STARTING_LCN_INPUT_BUFFER{13}, out, returned));
    EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
    EXPECT_EQ(returned, out.size());
    VOLUME_BITMAP_BUFFER header{};
    std::memcpy(&header, out.data(), 16);
    EXPECT_EQ(header.StartingLcn, 8);
    EXPECT_EQ(header.BitmapSize, 992);
    // Clusters 8 and 9 in use, 10 to 39 free.
    EXPECT_EQ(out[16], 0x03);
    EXPECT_EQ(out[17], 0x00);

    std::vector<BYTE> whole(16 + 125);
    ASSERT_TRUE(Control(volume.get(), FSCTL_GET_VOLUME_BITMAP, STARTING_LCN_INPUT_BUFFER{0}, whole, returned));
    EXPECT_EQ(returned, 16u + 125u);
    EXPECT_EQ(whole[16], 0xFF);
    EXPECT_EQ(whole[17], 0x03);
    EXPECT_EQ(whole[16 + 63], 0xC0);  // clusters 504 to 509 free, 510 on in use
    EXPECT_EQ(whole[16 + 124], 0xFF);

    // Windows wants room for the whole record, padding included.
    std::vector<BYTE> tiny(sizeof(VOLUME_BITMAP_BUFFER) - 1);
    EXPECT_FALSE(Control(volume.get(), FSCTL_GET_VOLUME_BITMAP, STARTING_LCN_INPUT_BUFFER{0}, tiny, returned));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(Control(volume.get(), FSCTL_GET_VOLUME_BITMAP, STARTING_LCN_INPUT_BUFFER{1000}, whole, returned));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // A volume without a file system has no bitmap.
    const UniqueFile raw = Open(L"\\\\?\\Volume{raw}");
    ASSERT_TRUE(raw);
    EXPECT_FALSE(Control(raw.get(), FSCTL_GET_VOLUME_BITMAP, STARTING_LCN_INPUT_BUFFER{0}, whole, returned));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
}

TEST_F(SimulatedStorageTest, FragmentationIsTheSameWhereverASliceStarts)
{
    const auto allocation = sim::ClusterAllocation::Fragmented(99, 30, 10);
    std::vector<BYTE> whole(1 << 16);
    allocation.FillBitmap(0, 1 << 19, whole);
    std::vector<BYTE> part(1000);
    allocation.FillBitmap(8 * 30000, 1 << 19, part);
    EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin() + 30000));
    // Past the end of the volume every cluster reads as used.
    allocation.FillBitmap((1 << 19) - 8 * 10, 1 << 19, part);
    EXPECT_EQ(part[10], 0xFF);
    EXPECT_EQ(part[999], 0xFF);

    // A fragmented stretch among plain runs is the same stretch of the fragmented volume.
    using Run = sim::ClusterAllocation::Run;
    const auto mixed = sim::ClusterAllocation::FromRuns(
        {Run{Run::State::Fragmented, 8 * 2000, {99, 30, 10}, {}}, Run{Run::State::Free, 8 * 100, {}, {}}});
    mixed.FillBitmap(8 * 1500, 1 << 19, part);
    EXPECT_TRUE(std::equal(part.begin(), part.begin() + 500, whole.begin() + 1500));
    EXPECT_TRUE(std::all_of(part.begin() + 500, part.begin() + 600, [](BYTE b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(part.begin() + 600, part.end(), [](BYTE b) { return b == 0xFF; }));

    // Runs that together reach past the last cluster number leave nothing after them on the volume.
    const auto beyond = sim::ClusterAllocation::FromRuns(
        {Run{Run::State::Used, UINT64_MAX - 7, {}, {}}, Run{Run::State::Used, 8, {}, {}},
         Run{Run::State::Free, 8000, {}, {}}, Run{Run::State::Used, 8, {}, {}}});
    beyond.FillBitmap(0, 1 << 19, part);
    EXPECT_TRUE(std::all_of(part.begin(), part.end(), [](BYTE b) { return b == 0xFF; }));
}

TEST_F(SimulatedStorageTest, FragmentationReadInOrderIsTheSameAsReadAtOnce)
{
    // Slices that go on where the last one stopped resume the drawing of their block; slices that
    // go back, jump ahead or move to another fragmented run start it again. Every way must give
    // the same clusters.
    using Run = sim::ClusterAllocation::Run;
    constexpr std::uint64_t VolumeClusters = 8 * 100000;
    const auto allocation = sim::ClusterAllocation::FromRuns(
        {Run{Run::State::Fragmented, 300001, {41, 200, 100}, {}}, Run{Run::State::Used, 7, {}, {}},
         Run{Run::State::Fragmented, 200000, {42, 3, 150}, {}}, Run{Run::State::Free, 5, {}, {}},
         Run{Run::State::Fragmented, VolumeClusters, {41, 200, 100}, {}}});
    std::vector<BYTE> whole(VolumeClusters / 8);
    allocation.FillBitmap(0, VolumeClusters, whole);

    std::mt19937_64 random(7);
    std::uint64_t first = 0;
    for (int slice = 0; slice < 400; ++slice) {
        std::vector<BYTE> part(1 + random() % 12000);
        SCOPED_TRACE(testing::Message() << "slice " << slice << " from cluster " << first << ", " << part.size()
                                        << " bytes");
        allocation.FillBitmap(first, VolumeClusters, part);
        const std::size_t compared = std::min<std::size_t>(part.size(), whole.size() - first / 8);
        ASSERT_TRUE(std::equal(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(compared),
                               whole.begin() + static_cast<std::ptrdiff_t>(first / 8)));
        // Mostly on from the end of this slice, sometimes back or ahead anywhere.
        first = random() % 5 == 0 ? 8 * (random() % (VolumeClusters / 8)) : first + 8 * compared;
        if (first >= VolumeClusters) {
            first = 0;
        }
    }
}

TEST_F(SimulatedStorageTest, UsedRunsMarkExactlyTheirClustersAtEveryBitPosition)
{
    // Runs that start and end anywhere within a byte, within one byte or across many, read from
    // any first cluster: each bit must say what the runs say, one cluster at a time.
    using Run = sim::ClusterAllocation::Run;
    constexpr std::uint64_t VolumeClusters = 200;
    for (std::uint64_t free = 0; free <= 17; ++free) {
        for (std::uint64_t used = 1; used <= 19; ++used) {
            const auto allocation = sim::ClusterAllocation::FromRuns(
                {Run{Run::State::Free, free, {}}, Run{Run::State::Used, used, {}}, Run{Run::State::Free, 3, {}},
                 Run{Run::State::Used, 1, {}}, Run{Run::State::Free, VolumeClusters, {}}});
            for (std::uint64_t first = 0; first < 9; ++first) {
                SCOPED_TRACE(testing::Message() << "free " << free << ", used " << used << ", from " << first);
                std::vector<BYTE> bitmap(8, 0xAA);
                allocation.FillBitmap(first, VolumeClusters, bitmap);
                for (std::uint64_t bit = 0; bit < bitmap.size() * 8; ++bit) {
                    const std::uint64_t cluster = first + bit;
                    const bool expected = (cluster >= free && cluster < free + used) || cluster == free + used + 3;
                    ASSERT_EQ((bitmap[bit / 8] >> (bit % 8)) & 1, expected ? 1 : 0) << "cluster " << cluster;
                }
            }
        }
    }
}

TEST_F(SimulatedStorageTest, ExtentsNumbersAndDescriptorsKeepTheWindowsBufferRules)
{
    const UniqueFile spanned = Open(L"\\\\?\\Volume{d}");
    std::vector<BYTE> out(sizeof(VOLUME_DISK_EXTENTS));
    DWORD returned = 0;
    EXPECT_FALSE(DeviceIoControl(spanned.get(), IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, {}, out, returned));
    EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
    VOLUME_DISK_EXTENTS extents{};
    std::memcpy(&extents, out.data(), sizeof(extents));
    EXPECT_EQ(extents.NumberOfDiskExtents, 2u);
    EXPECT_FALSE(DeviceIoControl(spanned.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, {}, out, returned));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);

    const UniqueFile volume = Open(L"\\\\?\\Volume{C}");
    std::vector<BYTE> number(sizeof(STORAGE_DEVICE_NUMBER));
    ASSERT_TRUE(DeviceIoControl(volume.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, {}, number, returned));
    STORAGE_DEVICE_NUMBER device{};
    std::memcpy(&device, number.data(), sizeof(device));
    EXPECT_EQ(device.DeviceType, FILE_DEVICE_DISK);
    EXPECT_EQ(device.DeviceNumber, 0u);
    EXPECT_EQ(device.PartitionNumber, 2u);
    std::vector<BYTE> small(11);
    EXPECT_FALSE(DeviceIoControl(volume.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, {}, small, returned));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    // A short descriptor buffer gets the start of the descriptor, whose Size tells the whole.
    const UniqueFile disk = Open(L"\\\\?\\SCSI#Disk0");
    ASSERT_TRUE(disk);
    const STORAGE_PROPERTY_QUERY deviceQuery{StorageDeviceProperty, PropertyStandardQuery, {0}};
    std::vector<BYTE> header(8);
    ASSERT_TRUE(Control(disk.get(), IOCTL_STORAGE_QUERY_PROPERTY, deviceQuery, header, returned));
    EXPECT_EQ(returned, 8u);
    STORAGE_DESCRIPTOR_HEADER size{};
    std::memcpy(&size, header.data(), sizeof(size));
    EXPECT_EQ(size.Size, 36u + 9u);
    std::vector<BYTE> descriptor(size.Size);
    ASSERT_TRUE(Control(disk.get(), IOCTL_STORAGE_QUERY_PROPERTY, deviceQuery, descriptor, returned));
    STORAGE_DEVICE_DESCRIPTOR fixed{};
    std::memcpy(&fixed, descriptor.data(), offsetof(STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties));
    EXPECT_EQ(fixed.BusType, 11u);
    EXPECT_STREQ(reinterpret_cast<const char*>(descriptor.data() + fixed.ProductIdOffset), "ACME SSD");

    const UniqueFile unusual = Open(L"\\\\.\\PhysicalDrive4");
    std::vector<BYTE> adapter(sizeof(STORAGE_ADAPTER_DESCRIPTOR));
    const STORAGE_PROPERTY_QUERY adapterQuery{StorageAdapterProperty, PropertyStandardQuery, {0}};
    ASSERT_TRUE(Control(unusual.get(), IOCTL_STORAGE_QUERY_PROPERTY, adapterQuery, adapter, returned));
    // The adapter names its own bus, the device descriptor the disk's.
    EXPECT_EQ(adapter[offsetof(STORAGE_ADAPTER_DESCRIPTOR, BusType)], 18);
    std::vector<BYTE> unusualDevice(64);
    ASSERT_TRUE(Control(unusual.get(), IOCTL_STORAGE_QUERY_PROPERTY, deviceQuery, unusualDevice, returned));
    EXPECT_EQ(unusualDevice[offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType)], 17);
    EXPECT_FALSE(Open(L"\\\\.\\PhysicalDrive04"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(SimulatedStorageTest, RawAccessNeedsAdministratorRights)
{
    sim::CurrentMachine().administrator = false;
    EXPECT_FALSE(Open(L"\\\\.\\c:"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Open(L"\\\\?\\Volume{d}", GENERIC_WRITE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Open(L"\\\\.\\PhysicalDrive0"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    // A volume opened without data access still tells which disk it lies on.
    const UniqueFile volumeQuery = Open(L"\\\\.\\c:", 0);
    ASSERT_TRUE(volumeQuery);
    std::vector<BYTE> number(sizeof(STORAGE_DEVICE_NUMBER));
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(volumeQuery.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, {}, number, returned));
    // Opening a drive without asking for data access is allowed; reading its length is not.
    const UniqueFile query = Open(L"\\\\.\\PhysicalDrive0", 0);
    ASSERT_TRUE(query);
    std::vector<BYTE> length(sizeof(GET_LENGTH_INFORMATION));
    EXPECT_FALSE(DeviceIoControl(query.get(), IOCTL_DISK_GET_LENGTH_INFO, {}, length, returned));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    // A volume's root folder is a directory, which this open does not give.
    EXPECT_FALSE(Open(L"\\\\.\\c:\\"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    sim::CurrentMachine().administrator = true;
    // The file system has its volume open for writing: an open must share writing, a drive's need not.
    EXPECT_FALSE(CreateFileW(L"\\\\.\\c:", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_TRUE(CreateFileW(L"\\\\.\\c:", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, OPEN_EXISTING, 0));
    const UniqueFile drive = CreateFileW(L"\\\\.\\PhysicalDrive0", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    ASSERT_TRUE(DeviceIoControl(drive.get(), IOCTL_DISK_GET_LENGTH_INFO, {}, length, returned));
    GET_LENGTH_INFORMATION info{};
    std::memcpy(&info, length.data(), sizeof(info));
    EXPECT_EQ(info.Length, 1000000000);

    // A first sector that the profile gives short reads short.
    sim::CurrentMachine().physicalDrives[0].sector0 = {0x33, 0xC0};
    std::vector<BYTE> sector(1024, 0xEE);
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(drive.get(), sector, read));
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(sector[1], 0xC0);
    EXPECT_EQ(sector[2], 0x00);
}

TEST_F(SimulatedStorageTest, VolumeNamesDriveTypesAndMountPoints)
{
    EXPECT_EQ(GetLogicalDrives(), 0b1100u);
    EXPECT_EQ(GetDriveTypeW(L"c:"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeW(L"\\\\.\\C:\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeW(L"C:\\Data\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeW(L"e:\\"), DRIVE_NO_ROOT_DIR);

    std::array<wchar_t, MAX_PATH> name{};
    ASSERT_TRUE(GetVolumeNameForVolumeMountPointW(L"c:\\data\\", name));
    EXPECT_EQ(std::wstring(name.data()), L"\\\\?\\Volume{d}\\");
    EXPECT_FALSE(GetVolumeNameForVolumeMountPointW(L"C:", name));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    std::array<wchar_t, 10> shortName{};
    EXPECT_FALSE(GetVolumeNameForVolumeMountPointW(L"C:\\", shortName));
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);

    std::vector<std::wstring> mountPoints;
    const UniqueFindVolumeMountPoint search = FindFirstVolumeMountPointW(L"\\\\?\\Volume{c}\\", name);
    ASSERT_TRUE(search);
    do {
        mountPoints.emplace_back(name.data());
    } while (FindNextVolumeMountPointW(search.get(), name));
    EXPECT_EQ(mountPoints, (std::vector<std::wstring>{L"Data\\", L"More\\Deep\\"}));
    EXPECT_FALSE(FindFirstVolumeMountPointW(L"\\\\?\\Volume{d}\\", name));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);

    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_TRUE(GetFileAttributesExW(L"\\\\.\\c:\\", GetFileExInfoStandard, attributes));
    EXPECT_EQ(attributes.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_COMPRESSED);
    EXPECT_FALSE(GetFileAttributesExW(L"\\\\?\\Volume{raw}\\", GetFileExInfoStandard, attributes));
}

TEST_F(SimulatedStorageTest, FreeSpaceAndProgramFiles)
{
    ULONGLONG available = 0;
    ULONGLONG total = 0;
    ULONGLONG free = 0;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:", available, total, free));
    EXPECT_EQ(available, 1024000u);
    EXPECT_EQ(total, 4096000u);
    EXPECT_EQ(free, 2048000u);
    DWORD sectors = 0;
    DWORD bytes = 0;
    DWORD freeClusters = 0;
    DWORD clusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceW(L"c:\\", sectors, bytes, freeClusters, clusters));
    EXPECT_EQ(sectors * bytes, 4096u);
    EXPECT_EQ(clusters, 1000u);
    EXPECT_FALSE(GetDiskFreeSpaceW(L"\\\\?\\Volume{raw}\\", sectors, bytes, freeClusters, clusters));
    EXPECT_EQ(GetLastError(), ERROR_UNRECOGNIZED_VOLUME);

    std::array<wchar_t, MAX_PATH> folder{};
    EXPECT_EQ(SHGetFolderPathW(CSIDL_PROGRAM_FILES, SHGFP_TYPE_DEFAULT, folder), S_OK);
    EXPECT_EQ(std::wstring(folder.data()), L"C:\\Program Files (x86)");
    sim::CurrentMachine().programFilesFolder.reset();
    EXPECT_TRUE(FAILED(SHGetFolderPathW(CSIDL_PROGRAM_FILES, SHGFP_TYPE_DEFAULT, folder)));
}

TEST_F(SimulatedStorageTest, DetailBufferFollowsTheAskForTheSizeRule)
{
    const UniqueDevInfo list = SetupDiGetClassDevsW(GUID_DEVINTERFACE_DISK, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    ASSERT_TRUE(list);
    SP_DEVICE_INTERFACE_DATA data{};
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(list.get(), GUID_DEVINTERFACE_DISK, 0, data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
    data.cbSize = sizeof(data);
    ASSERT_TRUE(SetupDiEnumDeviceInterfaces(list.get(), GUID_DEVINTERFACE_DISK, 0, data));
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(list.get(), GUID_DEVINTERFACE_DISK, 1, data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);

    DWORD required = 0;
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(list.get(), data, {}, &required));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(required, offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) + 15 * sizeof(wchar_t));
    std::vector<BYTE> detail(required);
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(list.get(), data, detail, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
    const DWORD headerSize = SP_DEVICE_INTERFACE_DETAIL_DATA_W_SIZE;
    std::memcpy(detail.data(), &headerSize, sizeof(headerSize));
    ASSERT_TRUE(SetupDiGetDeviceInterfaceDetailW(list.get(), data, detail, nullptr));
    std::wstring path(14, L'\0');
    std::memcpy(path.data(), detail.data() + offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath),
                14 * sizeof(wchar_t));
    EXPECT_EQ(path, L"\\\\?\\scsi#disk0");
}

// A DVD drive with a data disc (E:), one without (F:), a card-reader slot without a card (G:, on
// drive 1) beside a hard disk (C:, on drive 0), whose own faults fail only there.
const std::string RemovableProfile = R"json({
  "administrator": true,
  "physicalDrives": [
    { "number": 0, "length": 1000000000, "partitionStyle": "MBR",
      "partitions": [{ "number": 1, "startingOffset": 1048576, "length": 4096000, "type": 7 }],
      "faults": { "ReadFile": 23 } },
    { "number": 1, "busType": "BusTypeUsb", "removableMedia": true, "noMedium": true }
  ],
  "volumes": [
    { "name": "\\\\?\\Volume{c}\\", "driveLetters": ["C"], "fileSystem": "NTFS",
      "extents": [{ "disk": 0, "startingOffset": 1048576, "length": 4096000 }], "totalBytes": 4096000,
      "faults": { "FindNextVolumeW": 21, "GetDiskFreeSpaceExW": "0x0000001f" } },
    { "name": "\\\\?\\Volume{e}\\", "driveType": "DRIVE_CDROM", "driveLetters": ["E"], "fileSystem": "UDF",
      "totalBytes": 4444913664, "bytesPerSector": 2048, "sectorsPerCluster": 1 },
    { "name": "\\\\?\\Volume{f}\\", "driveType": "DRIVE_CDROM", "driveLetters": ["F"] },
    { "name": "\\\\?\\Volume{g}\\", "driveType": "DRIVE_REMOVABLE", "driveLetters": ["G"],
      "deviceNumber": { "disk": 1, "partition": 0 } }
  ],
  "diskInterfaces": [{ "faults": { "SetupDiGetDeviceInterfaceDetailW": 13 } }, { "devicePath": "\\\\?\\usbstor#sd", "drive": 1 }]
})json";

TEST(SimulatedRemovableStorageTest, OpticalDrivesEmptySlotsAndEachObjectsOwnFaults)
{
    const ScopedMachine machine(RemovableProfile);
    const auto open = [](const std::wstring& path) {
        return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    };
    // The error each call gives on a device, ERROR_SUCCESS when it answers.
    const auto control = [](HANDLE device, DWORD code) {
        std::vector<BYTE> out(4096);
        DWORD returned = 0;
        const STARTING_LCN_INPUT_BUFFER start{0};
        const std::span<const BYTE> in = code == FSCTL_GET_VOLUME_BITMAP
                                             ? std::span(reinterpret_cast<const BYTE*>(&start), sizeof(start))
                                             : std::span<const BYTE>{};
        return DeviceIoControl(device, code, in, out, returned) ? ERROR_SUCCESS : GetLastError();
    };
    const auto read = [](HANDLE device) {
        std::vector<BYTE> sector(512);
        DWORD bytes = 0;
        return ReadFile(device, sector, bytes) ? ERROR_SUCCESS : GetLastError();
    };

    const UniqueFile disc = open(L"\\\\.\\E:");
    EXPECT_EQ(control(disc.get(), IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS), ERROR_INVALID_FUNCTION);
    EXPECT_EQ(control(disc.get(), FSCTL_GET_VOLUME_BITMAP), ERROR_INVALID_FUNCTION);
    EXPECT_EQ(control(disc.get(), IOCTL_DISK_GET_LENGTH_INFO), ERROR_SUCCESS);
    EXPECT_EQ(control(disc.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER), ERROR_SUCCESS);

    const UniqueFile noDisc = open(L"\\\\.\\F:");
    EXPECT_EQ(control(noDisc.get(), IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS), ERROR_INVALID_FUNCTION);
    EXPECT_EQ(control(noDisc.get(), IOCTL_DISK_GET_LENGTH_INFO), ERROR_NOT_READY);
    EXPECT_EQ(control(noDisc.get(), FSCTL_GET_VOLUME_BITMAP), ERROR_NOT_READY);
    EXPECT_EQ(read(noDisc.get()), ERROR_NOT_READY);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    EXPECT_FALSE(GetFileAttributesExW(L"F:\\", GetFileExInfoStandard, attributes));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);

    const UniqueFile slot = open(L"\\\\.\\PhysicalDrive1");
    EXPECT_EQ(control(slot.get(), IOCTL_DISK_GET_LENGTH_INFO), ERROR_NOT_READY);
    EXPECT_EQ(control(slot.get(), IOCTL_DISK_GET_DRIVE_LAYOUT_EX), ERROR_NOT_READY);
    EXPECT_EQ(read(slot.get()), ERROR_NOT_READY);
    EXPECT_EQ(control(slot.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER), ERROR_SUCCESS);
    const UniqueFile slotVolume = open(L"\\\\.\\G:");
    EXPECT_EQ(control(slotVolume.get(), IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS), ERROR_NOT_READY);
    ULONGLONG available = 0;
    ULONGLONG total = 0;
    ULONGLONG free = 0;
    EXPECT_FALSE(GetDiskFreeSpaceExW(L"G:\\", available, total, free));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);

    // Drive 0's ReadFile and C:'s free space fail there only; the slot's own drive answers its
    // descriptor through its interface.
    const UniqueFile disk = open(L"\\\\.\\PhysicalDrive0");
    EXPECT_EQ(read(disk.get()), 23u);
    EXPECT_EQ(control(disk.get(), IOCTL_DISK_GET_DRIVE_LAYOUT_EX), ERROR_SUCCESS);
    EXPECT_FALSE(GetDiskFreeSpaceExW(L"C:\\", available, total, free));
    EXPECT_EQ(GetLastError(), 31u);
    EXPECT_TRUE(GetDiskFreeSpaceExW(L"E:\\", available, total, free));

    // Every walk of the volumes stops after C:, the volume that holds the failure.
    for (int walk = 0; walk < 2; ++walk) {
        std::array<wchar_t, MAX_PATH> name{};
        const UniqueFindVolume search = FindFirstVolumeW(name);
        ASSERT_TRUE(search);
        EXPECT_EQ(std::wstring(name.data()), L"\\\\?\\Volume{c}\\");
        EXPECT_FALSE(FindNextVolumeW(search.get(), name));
        EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    }

    // The first interface tells no path; the second opens its drive.
    const UniqueDevInfo list = SetupDiGetClassDevsW(GUID_DEVINTERFACE_DISK, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    for (DWORD index = 0; index < 2; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof(data);
        ASSERT_TRUE(SetupDiEnumDeviceInterfaces(list.get(), GUID_DEVINTERFACE_DISK, index, data));
        DWORD size = 0;
        EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailW(list.get(), data, {}, &size));
        EXPECT_EQ(GetLastError(), index == 0 ? 13u : ERROR_INSUFFICIENT_BUFFER);
    }
    EXPECT_TRUE(open(L"\\\\?\\USBSTOR#SD"));
}

TEST(SimulatedRemovableStorageTest, RemovableVolumesAnswerForTheirExtentsFromWindows2000Sp4AndXpSp1)
{
    struct Row {
        int minor;
        int servicePack;
        DWORD error;
    };
    for (const Row row : {Row{0, 3, ERROR_INVALID_FUNCTION}, Row{0, 4, ERROR_SUCCESS}, Row{0, 5, ERROR_SUCCESS},
                          Row{1, 0, ERROR_INVALID_FUNCTION}, Row{1, 1, ERROR_SUCCESS}, Row{1, 2, ERROR_SUCCESS}}) {
        SCOPED_TRACE(std::to_string(row.minor) + " SP" + std::to_string(row.servicePack));
        const std::string profile = R"({"administrator": true, "version": {"major": 5, "minor": )" +
                                    std::to_string(row.minor) + R"(, "servicePackMajor": )" +
                                    std::to_string(row.servicePack) + R"(},
                "physicalDrives": [{"number": 1, "length": 4096, "removableMedia": true}],
                "volumes": [{"name": "\\\\?\\Volume{e}\\", "driveType": "DRIVE_REMOVABLE", "driveLetters": ["E"],
                             "fileSystem": "FAT", "totalBytes": 4096, "extents": [{"disk": 1, "length": 4096}]}]})";
        const ScopedMachine machine(profile);
        const UniqueFile volume =
            CreateFileW(L"\\\\.\\E:", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
        std::vector<BYTE> out(64);
        DWORD returned = 0;
        const BOOL answered = DeviceIoControl(volume.get(), IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, {}, out, returned);
        EXPECT_EQ(answered ? ERROR_SUCCESS : GetLastError(), row.error);
    }
}

TEST(StorageProfileTest, ImpossibleStorageIsRefusedWithTheField)
{
    const auto problem = [](const std::string& profile) {
        sim::Machine machine;
        return sim::LoadMachineProfile(profile, machine);
    };
    EXPECT_EQ(problem(R"({"physicalDrives": [{"number": 0}, {"number": 0}]})"),
              "field \"physicalDrives[1].number\": another drive has this number");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "extents": [{"disk": 2}]}]})"),
              "field \"volumes[0].extents[0].disk\": no physical drive has this number");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "C:\\"}]})"),
              "field \"volumes[0].name\": expected a volume name such as \"\\\\?\\Volume{...}\\\"");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "driveLetters": ["C"]},
                                      {"name": "\\\\?\\Volume{b}\\", "driveLetters": ["c"]}]})"),
              "field \"volumes[1].driveLetters\": another volume has this letter");
    EXPECT_EQ(
        problem(
            R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "driveLetters": ["S"]}], "otherDrives": [{"letter": "S"}]})"),
        "field \"otherDrives[0].letter\": a volume or another drive has this letter");
    EXPECT_EQ(problem(R"({"otherDrives": [{"letter": "s:"}]})"),
              "field \"otherDrives[0].letter\": expected a capital letter from A to Z");
    EXPECT_EQ(
        problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "allocation": {"runs": [{"used": 1, "free": 2}]}}]})"),
        "field \"volumes[0].allocation.runs[0]\": expected one of used, free, fragmented or repeat, with a number of "
        "clusters");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "totalBytes": 10, "freeBytes": 20}]})"),
              "field \"volumes[0]\": expected freeBytesAvailable <= freeBytes <= totalBytes");
    // Volumes no Windows file system could hold, whose bitmap would take ages to scan or whose
    // sizes would overflow the arithmetic of the checks.
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "totalBytes": 18446744073709551615}]})"),
              "field \"volumes[0].totalBytes\": more than 4294967295 clusters, which no Windows file system addresses");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "bytesPerSector": 4294967295,
                                       "sectorsPerCluster": 4294967295, "totalBytes": 18446744073709551615}]})"),
              "field \"volumes[0]\": bytesPerSector times sectorsPerCluster must be at most 33554432, the largest "
              "cluster a Windows file system has");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "bytesPerSector": 512, "sectorsPerCluster": 65536,
                                       "totalBytes": 144115188042301440}]})"),
              "");
    EXPECT_EQ(problem(R"({"physicalDrives": [{"partitionStyle": "GPT", "partitions": [{"type": "{123}"}]}]})"),
              "field \"physicalDrives[0].partitions[0].type\": expected a GUID such as "
              "\"{EBD0A0A2-B9E5-4433-87C0-68B6B72699C7}\" or one of basicData, efiSystem, msReserved, recovery, "
              "ldmMetadata, ldmData");
    EXPECT_EQ(problem(R"({"physicalDrives": [{"partitionStyle": "MBR", "partitions": [{"type": "0x1FF"}]}]})"),
              "field \"physicalDrives[0].partitions[0].type\": expected a byte: a number below 256 or a string such as "
              "\"0x07\"");
    EXPECT_EQ(problem(R"({"physicalDrives": [{"busType": "Sata"}]})").substr(0, 60),
              "field \"physicalDrives[0].busType\": expected a whole number o");
    EXPECT_EQ(problem(R"({"diskInterfaces": [{"devicePath": "\\\\?\\x", "drive": 1}]})"),
              "field \"diskInterfaces[0].drive\": no physical drive has this number");
    EXPECT_EQ(problem(R"({"physicalDrives": [{"number": 0}], "diskInterfaces": [{"devicePath": "", "drive": 0}]})"),
              "field \"diskInterfaces[0].devicePath\": expected a device path such as \"\\\\?\\ide#disk...\"");
    // A sector is held whole in memory; no disk has sectors of gigabytes.
    EXPECT_EQ(problem(R"({"physicalDrives": [{"bytesPerSector": 4294966784}]})"),
              "field \"physicalDrives[0].bytesPerSector\": expected a multiple of 512 up to 4096");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "colour": 1}]})"),
              "field \"volumes[0].colour\": unknown field");
    // An object's own faults name calls that concern it.
    EXPECT_EQ(problem(R"({"physicalDrives": [{"faults": {"FindNextVolumeW": 5}}]})"),
              "field \"physicalDrives[0].faults.FindNextVolumeW\": no call of this object is named so; expected one "
              "of IOCTL_STORAGE_GET_DEVICE_NUMBER, IOCTL_STORAGE_QUERY_PROPERTY, IOCTL_DISK_GET_DRIVE_LAYOUT_EX, "
              "IOCTL_DISK_GET_LENGTH_INFO, ReadFile");
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "faults": {"ReadFile": "x"}}]})")
                  .rfind("field \"volumes[0].faults.ReadFile\": ", 0),
              0u);
    EXPECT_EQ(problem(R"({"volumes": [{"name": "\\\\?\\Volume{a}\\", "faults": [5]}]})"),
              "field \"volumes[0].faults\": expected an object of errors by call name, such as {\"ReadFile\": 21}");
    EXPECT_EQ(problem(R"({"diskInterfaces": [{"faults": {"IOCTL_STORAGE_QUERY_PROPERTY": 1}}]})"),
              "field \"diskInterfaces[0].devicePath\": expected a device path such as \"\\\\?\\ide#disk...\"");
    EXPECT_EQ(problem(R"({"diskInterfaces": [{"devicePath": "\\\\?\\x", "drive": 3,
                                              "faults": {"SetupDiGetDeviceInterfaceDetailW": 13}}]})"),
              "field \"diskInterfaces[0].drive\": no physical drive has this number");
    EXPECT_EQ(problem(R"({"registry": {"SOFTWARE\\A": {"faults": {"RegQueryValueExW": 5}}}})"),
              "field \"registry.SOFTWARE\\A.faults.RegQueryValueExW\": no call of this object is named so; expected "
              "one of RegOpenKeyExW");
    EXPECT_EQ(problem(R"({"registry": {"SOFTWARE\\A": {"values": {"v": {"faults": {"RegQueryValueExW": 5}}}}}})"), "");
    EXPECT_EQ(problem(R"({"registry": {"SOFTWARE\\A": {"values": {"v": {"type": "REG_SZ"}}}}})"),
              "field \"registry.SOFTWARE\\A.values.v.data\": missing");
}

}  // namespace
