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
constexpr std::wstring_view MbrLdmMessage = L"[DVTEST] Mbr partition %d of type PARTITION_LDM\n";
constexpr std::wstring_view GptLdmMetadataMessage = L"[DVTEST] Gpt partition %d of type PARTITION_LDM_METADATA_GUID\n";
constexpr std::wstring_view GptLdmDataMessage = L"[DVTEST] Gpt partition %d of type PARTITION_LDM_DATA_GUID\n";

// The line that names an LDM partition of each type; None has none.
std::wstring_view LdmPartitionMessage(LdmPartitionType type)
{
    switch (type) {
    case LdmPartitionType::MbrLdm: return MbrLdmMessage;
    case LdmPartitionType::GptLdmMetadata: return GptLdmMetadataMessage;
    case LdmPartitionType::GptLdmData: return GptLdmDataMessage;
    case LdmPartitionType::None: break;
    }
    return {};
}

// Prints the line of an LDM partition, and says whether the entry is one.
bool IsLdmPartition(Test& test, const winapi::PARTITION_INFORMATION_EX& entry)
{
    const LdmPartitionType type = LdmPartitionTypeOf(entry);
    if (type == LdmPartitionType::None) {
        return false;
    }
    test.PrintLine(LdmPartitionMessage(type), entry.PartitionNumber);
    return true;
}

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
