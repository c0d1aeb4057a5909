#include "checks/disk/DualBootTest.h"

#include "platform/PhysicalDrives.h"
#include "platform/UsbDisk.h"
#include "checks/disk/StorageRules.h"
#include "winapi/Storage.h"

#include <array>

namespace {

// The active entries of sector 0 of an open drive; 0 when it cannot be read whole or carries no
// boot signature.
unsigned ActiveEntriesOfDrive(winapi::HANDLE drive)
{
    std::array<winapi::BYTE, MbrSize> sector{};
    winapi::DWORD read = 0;
    if (!winapi::ReadFile(drive, sector, read) || read != MbrSize || !HasMbrSignature(sector)) {
        return 0;
    }
    return CountActiveMbrPartitions(sector);
}

// Only drives that hold a local fixed volume and are not on USB count: an installer stick with
// an active partition does not make the machine dual-boot.
bool IsDualBootMachine()
{
    unsigned total = 0;
    PhysicalDriveEnumeration([&](int number, const std::wstring& /*path*/, winapi::HANDLE drive) {
        if (IsPhysicalDriveLocalHardDisk(number) && !IsUsbDisk(static_cast<winapi::DWORD>(number))) {
            total += ActiveEntriesOfDrive(drive);
        }
        return true;
    });
    return total > 1;
}

}  // namespace

bool DualBootTest::Run()
{
    return SetPassed(!IsDualBootMachine());
}
