#include "checks/disk/RaidTest.h"

#include "platform/PhysicalDrives.h"
#include "checks/disk/StorageRules.h"
#include "winapi/Storage.h"

#include <cstring>
#include <vector>

namespace {

// A RAID set shows up as one drive of its own, which need not follow the others in numbering,
// so every number of this range is tried, gaps or not.
constexpr int RaidProbeDrives = 32;
// Room for the descriptor and the identity texts that follow it.
constexpr std::size_t DeviceDescriptorSize = 551;

bool HasRaidDisk(Test& test)
{
    bool found = false;
    for (int number = 0; number < RaidProbeDrives; ++number) {
        const std::wstring path = PhysicalDrivePath(number);
        const winapi::UniqueFile drive = winapi::CreateFileW(
            path, winapi::GENERIC_READ, winapi::FILE_SHARE_READ | winapi::FILE_SHARE_WRITE, winapi::OPEN_EXISTING, 0);
        if (!drive) {
            continue;
        }
        std::vector<winapi::BYTE> descriptor(DeviceDescriptorSize, 0);
        const auto size = static_cast<winapi::DWORD>(DeviceDescriptorSize);
        std::memcpy(descriptor.data() + offsetof(winapi::STORAGE_DEVICE_DESCRIPTOR, Size), &size, sizeof(size));
        const winapi::STORAGE_PROPERTY_QUERY query{winapi::StorageDeviceProperty, winapi::PropertyStandardQuery, {0}};
        winapi::DWORD returned = 0;
        if (!winapi::DeviceIoControl(drive.get(), winapi::IOCTL_STORAGE_QUERY_PROPERTY,
                                     std::span(reinterpret_cast<const winapi::BYTE*>(&query), sizeof(query)),
                                     descriptor, returned)) {
            continue;
        }
        winapi::DWORD bus = 0;
        std::memcpy(&bus, descriptor.data() + offsetof(winapi::STORAGE_DEVICE_DESCRIPTOR, BusType), sizeof(bus));
        test.AddMoreInfo(L"%wS %d %wS", path, static_cast<int>(bus), BusTypeName(static_cast<int>(bus)));
        found = found || bus == winapi::BusTypeRAID;
    }
    return found;
}

}  // namespace

bool RaidTest::Run()
{
    return SetPassed(!HasRaidDisk(*this));
}
