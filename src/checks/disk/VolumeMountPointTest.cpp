#include "checks/disk/VolumeMountPointTest.h"

#include "platform/UsbDisk.h"
#include "checks/disk/StorageWalks.h"
#include "winapi/Storage.h"

#include <array>

namespace {

constexpr std::wstring_view NoVolumesMessage = L"[VMPTEST] ERROR: Cannot find any volumes\n";
constexpr std::wstring_view NoMountPointsMessage = L"[VMPTEST] No mount points on volume %wS\n";
constexpr std::wstring_view MountPointMessage = L"[VMPTEST] Found volume mount point %wS on volume %wS\n";
constexpr std::wstring_view FailureMessage = L"[VMPTEST] Volume mount point(s) found...FAILURE\n";
constexpr std::wstring_view SuccessMessage = L"[VMPTEST] No volume mount points found...SUCCESS\n";

// Records every folder of the volume where another volume is mounted, as the system names it
// (relative to the volume's root).
bool ListVolumeMountPoints(Test& test, const std::wstring& volumeName)
{
    std::array<wchar_t, winapi::MAX_PATH> mountPoint{};
    const winapi::UniqueFindVolumeMountPoint search = winapi::FindFirstVolumeMountPointW(volumeName, mountPoint);
    if (!search) {
        test.PrintLine(NoMountPointsMessage, volumeName);
        return false;
    }
    do {
        const std::wstring folder(mountPoint.data());
        test.PrintLine(MountPointMessage, folder, volumeName);
        test.AddMoreInfo(L"%wS", folder);
        test.AddSolution(L"%wS", folder);
    } while (winapi::FindNextVolumeMountPointW(search.get(), mountPoint));
    return true;
}

bool HasVolumeMountPoints(Test& test)
{
    bool found = false;
    WalkFixedVolumes(test, NoVolumesMessage, [&](const std::wstring& volumeName) {
        if (!IsOnUsbDrive(volumeName) && ListVolumeMountPoints(test, volumeName)) {
            found = true;
        }
    });
    return found;
}

}  // namespace

bool VolumeMountPointTest::Run()
{
    const bool found = HasVolumeMountPoints(*this);
    PrintLine(found ? FailureMessage : SuccessMessage);
    return SetPassed(!found);
}
