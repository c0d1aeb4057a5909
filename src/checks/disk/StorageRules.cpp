#include "checks/disk/StorageRules.h"

#include <array>

namespace {

using namespace winapi;

constexpr BYTE PartitionLdm = 0x42;
// Containers of logical drives, not partitions that can boot.
constexpr BYTE PartitionExtended = 0x05;
constexpr BYTE PartitionExtendedLba = 0x0F;

constexpr GUID PartitionLdmMetadataGuid{0x5808C8AA, 0x7E8F, 0x42E0, {0x85, 0xD2, 0xE1, 0xE9, 0x04, 0x34, 0xCF, 0xB3}};
constexpr GUID PartitionLdmDataGuid{0xAF9B60A0, 0x1431, 0x4F62, {0xBC, 0x68, 0x33, 0x11, 0x71, 0x4A, 0x69, 0xAD}};
constexpr GUID PartitionRecoveryGuid{0xDE94BBA4, 0x06D1, 0x4D40, {0xA1, 0x6A, 0xBF, 0xD5, 0x01, 0x79, 0xD6, 0xAC}};

constexpr std::array<std::size_t, 4> MbrEntryOffsets{446, 462, 478, 494};
constexpr std::size_t BootIndicatorOffset = 0;
constexpr std::size_t PartitionTypeOffset = 4;
constexpr BYTE ActivePartition = 0x80;
constexpr std::size_t SignatureOffset = 510;

constexpr std::array<const wchar_t*, 12> BusTypeNames{
    L"Unknown bus type",
    L"SCSI",
    L"ATAPI",
    L"ATA",
    L"IEEE-1394",
    L"SSA",
    L"Fibre Channel",
    L"USB",
    L"RAID",
    L"iSCSI",
    L"Serial Attached SCSI (SAS)",
    L"SATA",
};
constexpr const wchar_t* UnknownBusTypeValue = L"Unknown enumeration value";

}  // namespace

LdmPartitionType LdmPartitionTypeOf(const PARTITION_INFORMATION_EX& entry)
{
    if (entry.PartitionStyle == PARTITION_STYLE_GPT) {
        if (entry.Gpt.PartitionType == PartitionLdmMetadataGuid) {
            return LdmPartitionType::GptLdmMetadata;
        }
        return entry.Gpt.PartitionType == PartitionLdmDataGuid ? LdmPartitionType::GptLdmData : LdmPartitionType::None;
    }
    if (entry.PartitionStyle == PARTITION_STYLE_MBR && entry.Mbr.PartitionType == PartitionLdm) {
        return LdmPartitionType::MbrLdm;
    }
    return LdmPartitionType::None;
}

bool IsRecoveryPartition(const PARTITION_INFORMATION_EX& entry)
{
    return entry.PartitionStyle == PARTITION_STYLE_GPT && entry.Gpt.PartitionType == PartitionRecoveryGuid;
}

unsigned CountActiveMbrPartitions(std::span<const BYTE, MbrSize> mbr)
{
    unsigned active = 0;
    for (const std::size_t entry : MbrEntryOffsets) {
        const BYTE type = mbr[entry + PartitionTypeOffset];
        if (mbr[entry + BootIndicatorOffset] == ActivePartition && type != PartitionExtended &&
            type != PartitionExtendedLba) {
            ++active;
        }
    }
    return active;
}

bool HasMbrSignature(std::span<const BYTE, MbrSize> mbr)
{
    return mbr[SignatureOffset] == 0x55 && mbr[SignatureOffset + 1] == 0xAA;
}

bool IsDualBoot(std::span<const std::vector<BYTE>> bootRecords)
{
    unsigned active = 0;
    for (const std::vector<BYTE>& record : bootRecords) {
        if (record.size() != MbrSize) {
            continue;
        }
        const std::span<const BYTE, MbrSize> mbr(record.data(), MbrSize);
        if (HasMbrSignature(mbr)) {
            active += CountActiveMbrPartitions(mbr);
        }
    }
    return active > 1;
}

const wchar_t* BusTypeName(int busType)
{
    if (busType < 0 || static_cast<std::size_t>(busType) >= BusTypeNames.size()) {
        return UnknownBusTypeValue;
    }
    return BusTypeNames[static_cast<std::size_t>(busType)];
}

bool IsSupportedFileSystem(std::wstring_view fileSystem)
{
    return fileSystem.find(L"NTFS") != std::wstring_view::npos || fileSystem.find(L"FAT") != std::wstring_view::npos;
}
