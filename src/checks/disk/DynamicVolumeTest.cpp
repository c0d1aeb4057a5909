#include "checks/disk/DynamicVolumeTest.h"

#include "platform/PhysicalDrives.h"
#include "checks/disk/StorageRules.h"
#include "checks/disk/StorageWalks.h"

namespace {

constexpr std::wstring_view DynamicDriveMessage = L"[DVTEST] %wS is a dynamic drive\n";
constexpr std::wstring_view BasicDriveMessage = L"[DVTEST] %wS is not a dynamic drive\n";
constexpr std::wstring_view NoLayoutMessage = L"[DVTEST] ERROR: Could not retrieve partitions\n";
constexpr std::wstring_view FailureMessage = L"[DVTEST] Detected dynamic disks...FAILURE\n";
constexpr std::wstring_view SuccessMessage = L"[DVTEST] No dynamic disks detected...SUCCESS\n";

// Every entry is looked at, so that each LDM partition of the drive gets its line.
bool DiskHasLdmPartition(Test& test, winapi::HANDLE drive)
{
    bool found = false;
    WalkPartitionEntries(test, drive, NoLayoutMessage, [&](const winapi::PARTITION_INFORMATION_EX& entry) {
        found = IsLdmPartition(test, entry) || found;
    });
    return found;
}

}  // namespace

bool DynamicVolumeTest::Run()
{
    bool found = false;
    PhysicalDriveEnumeration([&](int /*number*/, const std::wstring& path, winapi::HANDLE drive) {
        if (DiskHasLdmPartition(*this, drive)) {
            PrintLine(DynamicDriveMessage, path);
            AddSolution(L"%wS", path);
            found = true;
        } else {
            PrintLine(BasicDriveMessage, path);
        }
        return true;
    });
    PrintLine(found ? FailureMessage : SuccessMessage);
    return SetPassed(!found);
}
