#include "checks/disk/DiskSizeLimitTest.h"

#include "platform/PhysicalDrives.h"
#include "winapi/Storage.h"

#include <cstdint>

namespace {

// 2^40 bytes; a drive fails when its length in whole megabytes is greater.
constexpr std::int64_t DiskSizeLimitMB = 0x100000;
constexpr std::int64_t BytesPerMB = 1048576;

bool DiskExceedsSizeLimit(Test& test, winapi::HANDLE drive)
{
    winapi::GET_LENGTH_INFORMATION length{};
    winapi::DWORD returned = 0;
    if (!winapi::DeviceIoControl(drive, winapi::IOCTL_DISK_GET_LENGTH_INFO, {},
                                 std::span(reinterpret_cast<winapi::BYTE*>(&length), sizeof(length)), returned)) {
        return false;
    }
    const std::int64_t megabytes = length.Length / BytesPerMB;
    if (megabytes <= DiskSizeLimitMB) {
        return false;
    }
    test.AddMoreInfo(L"%I64d", megabytes);
    return true;
}

// Every drive is examined, so each oversized one adds its own line.
bool HasOversizedDisk(Test& test)
{
    bool found = false;
    PhysicalDriveEnumeration([&](int /*number*/, const std::wstring& /*path*/, winapi::HANDLE drive) {
        found = DiskExceedsSizeLimit(test, drive) || found;
        return true;
    });
    return found;
}

}  // namespace

bool DiskSizeLimitTest::Run()
{
    SetPassed(!HasOversizedDisk(*this));
    if (!GetPassed()) {
        AddSolution(L"");
    }
    return GetPassed();
}
