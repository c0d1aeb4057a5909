// The decisions of the partition, disk and volume checks that need no machine, from tables:
// partition entries, master boot records, bus type texts and file-system names.

#include "checks/disk/StorageRules.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using namespace winapi;

constexpr GUID LdmMetadata{0x5808C8AA, 0x7E8F, 0x42E0, {0x85, 0xD2, 0xE1, 0xE9, 0x04, 0x34, 0xCF, 0xB3}};
constexpr GUID LdmData{0xAF9B60A0, 0x1431, 0x4F62, {0xBC, 0x68, 0x33, 0x11, 0x71, 0x4A, 0x69, 0xAD}};
constexpr GUID Recovery{0xDE94BBA4, 0x06D1, 0x4D40, {0xA1, 0x6A, 0xBF, 0xD5, 0x01, 0x79, 0xD6, 0xAC}};
constexpr GUID BasicData{0xEBD0A0A2, 0xB9E5, 0x4433, {0x87, 0xC0, 0x68, 0xB6, 0xB7, 0x26, 0x99, 0xC7}};
// The recovery type with its last byte changed: all sixteen bytes must match.
constexpr GUID AlmostRecovery{0xDE94BBA4, 0x06D1, 0x4D40, {0xA1, 0x6A, 0xBF, 0xD5, 0x01, 0x79, 0xD6, 0xAD}};

PARTITION_INFORMATION_EX MbrEntry(BYTE type, DWORD number)
{
    PARTITION_INFORMATION_EX entry{};
    entry.PartitionStyle = PARTITION_STYLE_MBR;
    entry.PartitionNumber = number;
    entry.Mbr.PartitionType = type;
    return entry;
}

PARTITION_INFORMATION_EX GptEntry(const GUID& type, DWORD number)
{
    PARTITION_INFORMATION_EX entry{};
    entry.PartitionStyle = PARTITION_STYLE_GPT;
    entry.PartitionNumber = number;
    entry.Gpt.PartitionType = type;
    return entry;
}

struct EntryCase {
    const char* what;
    PARTITION_INFORMATION_EX entry;
    LdmPartitionType ldm;
    bool recovery;
};

TEST(StorageRulesTest, PartitionEntriesAreLdmOrRecoveryByStyleAndType)
{
    PARTITION_INFORMATION_EX raw = MbrEntry(0x42, 1);
    raw.PartitionStyle = PARTITION_STYLE_RAW;
    // A GPT entry whose type begins with the byte 0x00, which an MBR type byte would call unused.
    constexpr GUID zeroFirstByte{0x5808C800, 0x7E8F, 0x42E0, {0x85, 0xD2, 0xE1, 0xE9, 0x04, 0x34, 0xCF, 0xB3}};
    // The LDM data type with its last byte changed: all sixteen bytes must match here too.
    constexpr GUID almostLdmData{0xAF9B60A0, 0x1431, 0x4F62, {0xBC, 0x68, 0x33, 0x11, 0x71, 0x4A, 0x69, 0xAE}};
    using enum LdmPartitionType;
    const std::vector<EntryCase> cases{
        {"unused MBR entry", MbrEntry(0x00, 0), None, false},
        {"NTFS", MbrEntry(0x07, 1), None, false},
        {"MBR type below LDM", MbrEntry(0x41, 3), None, false},
        {"MBR LDM", MbrEntry(0x42, 3), MbrLdm, false},
        {"MBR type above LDM", MbrEntry(0x43, 3), None, false},
        {"MBR recovery type 0x27", MbrEntry(0x27, 1), None, false},
        {"GPT LDM metadata", GptEntry(LdmMetadata, 4), GptLdmMetadata, false},
        {"GPT LDM data", GptEntry(LdmData, 5), GptLdmData, false},
        {"GPT almost LDM data", GptEntry(almostLdmData, 5), None, false},
        {"GPT basic data", GptEntry(BasicData, 2), None, false},
        {"GPT recovery", GptEntry(Recovery, 1), None, true},
        {"GPT almost recovery", GptEntry(AlmostRecovery, 1), None, false},
        {"GPT type starting with zero", GptEntry(zeroFirstByte, 6), None, false},
        {"RAW entry with an LDM type byte", raw, None, false},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LdmPartitionTypeOf(c.entry), c.ldm);
        EXPECT_EQ(IsRecoveryPartition(c.entry), c.recovery);
    }
}

struct MbrEntryBytes {
    BYTE boot;
    BYTE type;
};

struct MbrCase {
    const char* what;
    std::array<MbrEntryBytes, 4> entries;
    unsigned active;
};

TEST(StorageRulesTest, ActiveEntriesAreCountedWithoutExtendedContainers)
{
    const std::vector<MbrCase> cases{
        {"empty table", {}, 0},
        {"one active NTFS", {{{0x80, 0x07}, {0, 0x07}}}, 1},
        {"two active", {{{0x80, 0x07}, {0x80, 0x0C}}}, 2},
        {"all four active", {{{0x80, 0x07}, {0x80, 0x07}, {0x80, 0x83}, {0x80, 0x0B}}}, 4},
        {"active extended 0x05 and 0x0F", {{{0x80, 0x05}, {0x80, 0x0F}, {0x80, 0x07}}}, 1},
        {"boot indicator other than 0x80", {{{0x81, 0x07}, {0x01, 0x07}, {0xFF, 0x07}}}, 0},
        {"protective MBR of a GPT disk", {{{0x00, 0xEE}}}, 0},
        {"active entry in the last slot", {{{0, 0}, {0, 0}, {0, 0}, {0x80, 0x07}}}, 1},
    };
    for (const MbrCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<BYTE, MbrSize> mbr{};
        for (std::size_t i = 0; i < 4; ++i) {
            mbr[446 + 16 * i] = c.entries[i].boot;
            mbr[446 + 16 * i + 4] = c.entries[i].type;
        }
        EXPECT_EQ(CountActiveMbrPartitions(mbr), c.active);
        EXPECT_FALSE(HasMbrSignature(mbr));
        mbr[510] = 0x55;
        mbr[511] = 0xAA;
        EXPECT_TRUE(HasMbrSignature(mbr));
        // The boot code before the table is never looked at.
        mbr.front() = 0x80;
        mbr[4] = 0x07;
        EXPECT_EQ(CountActiveMbrPartitions(mbr), c.active);
    }
    std::array<BYTE, MbrSize> swapped{};
    swapped[510] = 0xAA;
    swapped[511] = 0x55;
    EXPECT_FALSE(HasMbrSignature(swapped));
}

// A boot record as the read of sector 0 returned it: the entries' boot indicator and type, the
// signature or not, and the bytes that came back.
std::vector<BYTE> BootRecord(std::vector<MbrEntryBytes> entries, bool signature = true, std::size_t size = MbrSize)
{
    std::vector<BYTE> record(MbrSize, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        record[446 + 16 * i] = entries[i].boot;
        record[446 + 16 * i + 4] = entries[i].type;
    }
    if (signature) {
        record[510] = 0x55;
        record[511] = 0xAA;
    }
    record.resize(size, 0);
    return record;
}

struct DualBootCase {
    const char* what;
    std::vector<std::vector<BYTE>> records;
    bool dualBoot;
};

TEST(StorageRulesTest, MoreThanOneActiveEntryOverTheCountedDrivesIsDualBoot)
{
    const std::vector<BYTE> none = BootRecord({});
    const std::vector<BYTE> one = BootRecord({{0x80, 0x07}});
    const std::vector<BYTE> two = BootRecord({{0x80, 0x07}, {0x80, 0x07}});
    const std::vector<BYTE> three = BootRecord({{0x80, 0x07}, {0x80, 0x07}, {0x80, 0x0C}});
    const std::vector<DualBootCase> cases{
        {"no drive counts", {}, false},
        {"one drive, no active entry", {none}, false},
        {"one drive, one active entry", {one}, false},
        {"one drive, two active entries", {two}, true},
        {"one drive, three active entries", {three}, true},
        {"two drives, one active entry each", {one, one}, true},
        {"two drives, one active entry in all", {none, one}, false},
        {"a second active entry behind an extended container", {BootRecord({{0x80, 0x07}, {0x80, 0x0F}})}, false},
        {"the second drive's record lacks the signature", {one, BootRecord({{0x80, 0x07}}, false)}, false},
        {"the second drive's read failed", {one, {}}, false},
        {"the second drive's read came back a byte short", {one, BootRecord({{0x80, 0x07}}, true, MbrSize - 1)}, false},
        {"a byte more than a sector is no boot record", {one, BootRecord({{0x80, 0x07}}, true, MbrSize + 1)}, false},
        {"a short record does not hide the next", {BootRecord({{0x80, 0x07}}, true, 446), one, one}, true},
    };
    for (const DualBootCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsDualBoot(c.records), c.dualBoot);
    }
}

TEST(StorageRulesTest, BusTypesHaveTheirTexts)
{
    const std::vector<std::pair<int, std::wstring>> cases{
        {0, L"Unknown bus type"},
        {1, L"SCSI"},
        {2, L"ATAPI"},
        {3, L"ATA"},
        {4, L"IEEE-1394"},
        {5, L"SSA"},
        {6, L"Fibre Channel"},
        {7, L"USB"},
        {8, L"RAID"},
        {9, L"iSCSI"},
        {10, L"Serial Attached SCSI (SAS)"},
        {11, L"SATA"},
        {12, L"Unknown enumeration value"},
        {17, L"Unknown enumeration value"},
        {-1, L"Unknown enumeration value"},
        {0x7FFFFFFF, L"Unknown enumeration value"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(BusTypeName(value), text) << value;
    }
}

TEST(StorageRulesTest, NtfsAndFatAnywhereInTheNameAreSupported)
{
    const std::vector<std::pair<std::wstring, bool>> cases{
        {L"NTFS", true}, {L"FAT", true},   {L"FAT32", true}, {L"exFAT", true},  {L"xNTFSx", true},
        {L"RAW", false}, {L"", false},     {L"ntfs", false}, {L"Fat32", false}, {L"CDFS", false},
        {L"UDF", false}, {L"ReFS", false}, {L"NTF", false},  {L"FA T", false},
    };
    for (const auto& [fileSystem, supported] : cases) {
        EXPECT_EQ(IsSupportedFileSystem(fileSystem), supported) << testing::PrintToString(fileSystem);
    }
}

}  // namespace
