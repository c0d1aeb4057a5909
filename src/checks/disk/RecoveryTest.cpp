#include "checks/disk/RecoveryTest.h"

#include "platform/PhysicalDrives.h"
#include "checks/disk/StorageRules.h"
#include "checks/disk/StorageWalks.h"

namespace {

constexpr std::wstring_view RecoveryDriveMessage = L"[RTEST] %wS contains a recovery partition\n";
constexpr std::wstring_view NoLayoutMessage = L"[RTEST] ERROR: Could not retrieve partitions\n";

bool DiskHasRecoveryPartition(Test& test, winapi::HANDLE drive)
{
    bool found = false;
    WalkPartitionEntries(test, drive, NoLayoutMessage, [&](const winapi::PARTITION_INFORMATION_EX& entry) {
        if (IsRecoveryPartition(entry)) {
            // The results have always carried each recovery partition's number twice.
            test.AddMoreInfo(L"%d", entry.PartitionNumber);
            test.AddMoreInfo(L"%d", entry.PartitionNumber);
            found = true;
        }
    });
    return found;
}

}  // namespace

bool RecoveryTest::Run()
{
    bool found = false;
    PhysicalDriveEnumeration([&](int /*number*/, const std::wstring& path, winapi::HANDLE drive) {
        if (DiskHasRecoveryPartition(*this, drive)) {
            PrintLine(RecoveryDriveMessage, path);
            found = true;
        }
        return true;
    });
    SetPassed(!found);
    if (found) {
        AddSolution(L"");
    }
    return GetPassed();
}
