#include "checks/disk/VolumeLimitTest.h"

#include "platform/FixedVolumeEnumeration.h"
#include "platform/UsbDisk.h"

namespace {

constexpr int VolumeCountLimit = 12;

// 0, silently, when the volumes cannot be listed.
int CountFixedVolumes()
{
    int count = 0;
    static_cast<void>(FixedVolumeEnumeration([&](const std::wstring& volumeName) {
        if (!IsOnUsbDrive(volumeName)) {
            ++count;
        }
        return true;
    }));
    return count;
}

}  // namespace

bool VolumeLimitTest::Run()
{
    const int count = CountFixedVolumes();
    AddMoreInfo(L"%d", count);
    const bool verdict = count <= VolumeCountLimit;
    if (!verdict) {
        AddSolution(L"%d", VolumeCountLimit);
    }
    return SetPassed(verdict);
}
