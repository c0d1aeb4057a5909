#include "checks/disk/DualBootTest.h"

#include "platform/PhysicalDrives.h"
#include "platform/UsbDisk.h"
#include "checks/disk/StorageRules.h"
#include "winapi/Storage.h"

#include <algorithm>
#include <vector>

namespace {

// Sector 0 of an open drive as far as it could be read; empty when the read fails.
std::vector<winapi::BYTE> ReadBootRecord(winapi::HANDLE drive)
{
    std::vector<winapi::BYTE> sector(MbrSize, 0);
    winapi::DWORD read = 0;
    if (!winapi::ReadFile(drive, sector, read)) {
        return {};
    }
    sector.resize(std::min<std::size_t>(read, sector.size()));
    return sector;
}

// Only drives that hold a local fixed volume and are not on USB count: an installer stick with
// an active partition does not make the machine dual-boot.
bool IsDualBootMachine()
{
    std::vector<std::vector<winapi::BYTE>> bootRecords;
    PhysicalDriveEnumeration([&](int number, const std::wstring& /*path*/, winapi::HANDLE drive) {
        if (IsPhysicalDriveLocalHardDisk(number) && !IsUsbDisk(static_cast<winapi::DWORD>(number))) {
            bootRecords.push_back(ReadBootRecord(drive));
        }
        return true;
    });
    return IsDualBoot(bootRecords);
}

}  // namespace

bool DualBootTest::Run()
{
    return SetPassed(!IsDualBootMachine());
}
