#include "checks/disk/StorageWalks.h"

#include "platform/DriveLayout.h"
#include "platform/FixedVolumeEnumeration.h"

void WalkPartitionEntries(Test& test, winapi::HANDLE drive, std::wstring_view noLayoutMessage,
                          const std::function<void(const winapi::PARTITION_INFORMATION_EX& entry)>& visit)
{
    const std::optional<DriveLayout> layout = ReadDriveLayout(drive);
    if (!layout) {
        test.PrintLine(noLayoutMessage);
        return;
    }
    for (winapi::DWORD index = 0; index < layout->PartitionCount(); ++index) {
        visit(layout->Entry(index));
    }
}

void WalkFixedVolumes(Test& test, std::wstring_view noVolumesMessage,
                      const std::function<void(const std::wstring& volumeName)>& visit)
{
    const bool listed = FixedVolumeEnumeration([&](const std::wstring& volumeName) {
        visit(volumeName);
        return true;
    });
    if (!listed) {
        test.PrintLine(noVolumesMessage);
    }
}
