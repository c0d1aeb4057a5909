// The volume and physical-disk helpers against one fixture machine: a USB disk numbered 1, no
// drive 2, a volume spanning disks 0 and 3, a GPT disk whose table outgrows the first buffer, and
// a disk interface that does not open.

#include "support/ScopedFault.h"
#include "support/ScopedMachine.h"
#include "platform/DriveLayout.h"
#include "platform/FixedVolumeEnumeration.h"
#include "platform/PhysicalDrives.h"
#include "platform/UsbDisk.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using namespace winapi;

const std::string UsbCheckLines =
    "Failed to get handle to \\\\?\\usbstor#disk&ven_generic&prod_card_reader#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}\n";

class VolumeHelpersTest : public ::testing::Test {
protected:
    ScopedMachine machine_{ReadFileText(FixturePath("machines/storage-helpers.json"))};

    // Runs action and returns what it printed on the console.
    template <typename Action>
    static std::string Console(Action action)
    {
        testing::internal::CaptureStdout();
        action();
        std::fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(VolumeHelpersTest, UsbDiskIsFoundByItsDeviceNumberOnly)
{
    bool onUsb = true;
    EXPECT_EQ(Console([&] { onUsb = IsUsbDisk(0); }), UsbCheckLines);
    EXPECT_FALSE(onUsb);
    EXPECT_EQ(Console([&] { onUsb = IsUsbDisk(1); }), UsbCheckLines);
    EXPECT_TRUE(onUsb);
    EXPECT_FALSE(IsUsbDisk(3));
    EXPECT_FALSE(IsUsbDisk(2));
}

TEST_F(VolumeHelpersTest, VolumesAreCheckedByDevicePathOrVolumeName)
{
    bool onUsb = true;
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\c:"); }),
              UsbCheckLines + "\\\\.\\c: does not reside on a usb drive\n");
    EXPECT_FALSE(onUsb);
    // A trailing backslash is dropped, so the device root and the volume name both work.
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\e:\\"); }),
              UsbCheckLines + "\\\\.\\e: resides on a usb drive\n");
    EXPECT_TRUE(onUsb);
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\?\\Volume{00000000-0000-0000-0000-00000000000e}\\"); }),
              UsbCheckLines + "\\\\?\\Volume{00000000-0000-0000-0000-00000000000e} resides on a usb drive\n");
    EXPECT_TRUE(onUsb);
    // A spanned volume has no single device number.
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\?\\Volume{00000000-0000-0000-0000-0000000000aa}\\"); }),
              "Could not determine if \\\\?\\Volume{00000000-0000-0000-0000-0000000000aa} resides on a usb drive\n");
    EXPECT_FALSE(onUsb);
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\q:"); }), "CreateFile( \\\\.\\q: ) failed\n");
    EXPECT_FALSE(onUsb);
}

TEST_F(VolumeHelpersTest, OpticalDriveIsNumberedAmongOpticalDrivesAndLookedUpAmongDisks)
{
    // D is the first optical drive, CdRom0; disk 0 is not on USB. A second optical drive F is
    // CdRom1, and the USB check takes that for disk 1, the USB disk.
    sim::Volume second;
    second.name = L"\\\\?\\Volume{00000000-0000-0000-0000-0000000000ff}\\";
    second.driveType = DRIVE_CDROM;
    second.driveLetters = L"F";
    sim::CurrentMachine().volumes.push_back(second);
    bool onUsb = true;
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\d:"); }),
              UsbCheckLines + "\\\\.\\d: does not reside on a usb drive\n");
    EXPECT_FALSE(onUsb);
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\f:\\"); }),
              UsbCheckLines + "\\\\.\\f: resides on a usb drive\n");
    EXPECT_TRUE(onUsb);

    const UniqueFile drive =
        CreateFileW(L"\\\\.\\f:", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    ASSERT_TRUE(drive);
    std::vector<BYTE> out(sizeof(STORAGE_DEVICE_NUMBER));
    DWORD returned = 0;
    ASSERT_TRUE(DeviceIoControl(drive.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, {}, out, returned));
    STORAGE_DEVICE_NUMBER number{};
    std::memcpy(&number, out.data(), sizeof(number));
    EXPECT_EQ(returned, sizeof(number));
    EXPECT_EQ(number.DeviceType, 0x2u);  // FILE_DEVICE_CD_ROM
    EXPECT_EQ(number.DeviceNumber, 1u);
    EXPECT_EQ(number.PartitionNumber, 0xFFFFFFFFu);
}

TEST_F(VolumeHelpersTest, WithoutAdministratorRightsNoDiskInterfaceOrVolumeOpens)
{
    sim::CurrentMachine().administrator = false;
    bool onUsb = true;
    const std::string console = Console([&] { onUsb = IsUsbDisk(1); });
    EXPECT_FALSE(onUsb);
    EXPECT_NE(console.find("Failed to get handle to \\\\?\\usbstor#disk&ven_kingston#"), std::string::npos) << console;
    // Nor does the volume itself, so it counts as not on USB without a disk being asked.
    EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\e:"); }), "CreateFile( \\\\.\\e: ) failed\n");
    EXPECT_FALSE(onUsb);
}

TEST_F(VolumeHelpersTest, FailingUsbQueriesMeanNotOnUsb)
{
    bool onUsb = true;
    {
        const ScopedFault fault(L"SetupDiGetClassDevsW", ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\e:"); }),
                  "Bad handle to DEVCLASS_USB\n\\\\.\\e: does not reside on a usb drive\n");
        EXPECT_FALSE(onUsb);
    }
    {
        // Without its size no interface is opened.
        const ScopedFault fault(L"SetupDiGetDeviceInterfaceDetailW", ERROR_INVALID_PARAMETER);
        EXPECT_EQ(Console([&] { onUsb = IsUsbDisk(1); }), "");
        EXPECT_FALSE(onUsb);
    }
    {
        // A disk whose adapter does not answer is not taken for a USB disk.
        const ScopedFault fault(L"DeviceIoControl.IOCTL_STORAGE_QUERY_PROPERTY", ERROR_INVALID_FUNCTION);
        EXPECT_EQ(Console([&] { onUsb = IsUsbDisk(1); }), UsbCheckLines);
        EXPECT_FALSE(onUsb);
    }
    {
        const ScopedFault fault(L"DeviceIoControl.IOCTL_STORAGE_GET_DEVICE_NUMBER", ERROR_INVALID_FUNCTION);
        EXPECT_EQ(Console([&] { onUsb = IsOnUsbDrive(L"\\\\.\\e:"); }),
                  "Could not determine if \\\\.\\e: resides on a usb drive\n");
        EXPECT_FALSE(onUsb);
    }
}

TEST_F(VolumeHelpersTest, SpannedVolumeMakesEachOfItsDisksLocal)
{
    bool local = false;
    EXPECT_EQ(Console([&] { local = IsPhysicalDriveLocalHardDisk(3); }),
              "IsPhysicalDriveLocalHardDisk(3)\nFound a volume that resides on disk 3\n");
    EXPECT_TRUE(local);
    EXPECT_TRUE(IsPhysicalDriveLocalHardDisk(0));
    EXPECT_TRUE(IsPhysicalDriveLocalHardDisk(1));
    EXPECT_EQ(Console([&] { local = IsPhysicalDriveLocalHardDisk(2); }), "IsPhysicalDriveLocalHardDisk(2)\n");
    EXPECT_FALSE(local);
}

TEST_F(VolumeHelpersTest, VolumeWithMoreExtentsThanTheBufferHoldsIsPassedOver)
{
    sim::Volume& spanned = sim::CurrentMachine().volumes[2];
    // 21 extents fill the 512-byte buffer; the 22nd makes the control answer ERROR_MORE_DATA.
    spanned.extents.resize(22, spanned.extents.front());
    spanned.extents.back().disk = 3;
    EXPECT_FALSE(IsPhysicalDriveLocalHardDisk(3));
    spanned.extents.resize(21);
    spanned.extents.back().disk = 3;
    EXPECT_TRUE(IsPhysicalDriveLocalHardDisk(3));
}

TEST_F(VolumeHelpersTest, PhysicalDriveWalkStopsAtTheFirstGap)
{
    std::vector<std::wstring> seen;
    PhysicalDriveEnumeration([&](int number, const std::wstring& path, HANDLE) {
        EXPECT_EQ(path, PhysicalDrivePath(number));
        seen.push_back(path);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"\\\\.\\PhysicalDrive0", L"\\\\.\\PhysicalDrive1"}));

    sim::CurrentMachine().administrator = false;
    seen.clear();
    PhysicalDriveEnumeration([&](int, const std::wstring& path, HANDLE) {
        seen.push_back(path);
        return true;
    });
    EXPECT_TRUE(seen.empty());
}

TEST_F(VolumeHelpersTest, FixedVolumeWalkSkipsOtherDriveTypes)
{
    std::vector<std::wstring> seen;
    EXPECT_TRUE(FixedVolumeEnumeration([&](const std::wstring& name) {
        seen.push_back(name);
        return true;
    }));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"\\\\?\\Volume{00000000-0000-0000-0000-00000000000c}\\",
                                               L"\\\\?\\Volume{00000000-0000-0000-0000-00000000000e}\\",
                                               L"\\\\?\\Volume{00000000-0000-0000-0000-0000000000aa}\\"}));
    sim::CurrentMachine().volumes.clear();
    EXPECT_FALSE(FixedVolumeEnumeration([](const std::wstring&) { return true; }));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
}

TEST_F(VolumeHelpersTest, LayoutBufferGrowsUntilTheWholeTableFits)
{
    const UniqueFile gptDisk = CreateFileW(L"\\\\?\\scsi#disk3#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}", GENERIC_READ,
                                           FILE_SHARE_READ, OPEN_EXISTING, 0);
    ASSERT_TRUE(gptDisk);
    const auto layout = ReadDriveLayout(gptDisk.get());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->PartitionStyle(), PARTITION_STYLE_GPT);
    ASSERT_EQ(layout->PartitionCount(), 9u);
    const PARTITION_INFORMATION_EX recovery = layout->Entry(8);
    EXPECT_EQ(recovery.PartitionNumber, 9u);
    EXPECT_EQ(recovery.StartingOffset, 53928263680);
    EXPECT_EQ(recovery.Gpt.PartitionType,
              (GUID{0xDE94BBA4, 0x06D1, 0x4D40, {0xA1, 0x6A, 0xBF, 0xD5, 0x01, 0x79, 0xD6, 0xAC}}));
    EXPECT_EQ(recovery.Gpt.Attributes, 0x8000000000000001u);
    EXPECT_EQ(layout->Entry(0).Gpt.Name[0], u'E');

    // An MBR table comes in groups of four entries, the unused ones with type 0.
    const UniqueFile mbrDisk = CreateFileW(PhysicalDrivePath(0), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    const auto mbr = ReadDriveLayout(mbrDisk.get());
    ASSERT_TRUE(mbr);
    ASSERT_EQ(mbr->PartitionCount(), 4u);
    EXPECT_EQ(mbr->Entry(1).Mbr.PartitionType, 0x42);
    EXPECT_EQ(mbr->Entry(0).Mbr.BootIndicator, 1);
    EXPECT_EQ(mbr->Entry(3).Mbr.PartitionType, 0);
}

TEST_F(VolumeHelpersTest, LayoutFailureLeavesTheErrorForTheCaller)
{
    const ScopedFault fault(L"DeviceIoControl.IOCTL_DISK_GET_DRIVE_LAYOUT_EX", ERROR_GEN_FAILURE);
    const UniqueFile disk = CreateFileW(PhysicalDrivePath(0), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    EXPECT_FALSE(ReadDriveLayout(disk.get()));
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
}

TEST_F(VolumeHelpersTest, DriverThatAlwaysWantsMoreEndsAtTheBound)
{
    // As a broken driver or a captured profile may answer: "too small", whatever the size.
    const ScopedFault layoutFault(L"DeviceIoControl.IOCTL_DISK_GET_DRIVE_LAYOUT_EX", ERROR_INSUFFICIENT_BUFFER);
    const UniqueFile disk = CreateFileW(PhysicalDrivePath(0), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    EXPECT_FALSE(ReadDriveLayout(disk.get()));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    // The path of a disk interface, asked for again and again, ends the same way.
    const ScopedFault detailFault(L"SetupDiGetDeviceInterfaceDetailW", ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(IsUsbDisk(1));
}

TEST_F(VolumeHelpersTest, SectorZeroIsTheMasterBootRecordOfTheTable)
{
    const UniqueFile disk = CreateFileW(PhysicalDrivePath(0), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    std::vector<BYTE> sector(512);
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(disk.get(), sector, read));
    ASSERT_EQ(read, 512u);
    EXPECT_EQ(sector[510], 0x55);
    EXPECT_EQ(sector[511], 0xAA);
    EXPECT_EQ(sector[446], 0x80);      // partition 1 active
    EXPECT_EQ(sector[446 + 4], 0x07);  // NTFS
    EXPECT_EQ(sector[462], 0x00);
    EXPECT_EQ(sector[462 + 4], 0x42);
    EXPECT_EQ(sector[446 + 8], 0x00);  // first sector 2048, little-endian
    EXPECT_EQ(sector[446 + 9], 0x08);
    // Raw reads come in whole sectors.
    std::vector<BYTE> part(100);
    EXPECT_FALSE(ReadFile(disk.get(), part, read));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    const UniqueFile gpt = CreateFileW(PhysicalDrivePath(1), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    ASSERT_TRUE(ReadFile(gpt.get(), sector, read));
    EXPECT_EQ(sector[446 + 4], 0x0C);
}

}  // namespace
