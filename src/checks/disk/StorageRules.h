#pragma once
// The decisions of the partition, disk and volume checks that need no machine: what a partition
// entry or a master boot record says, the text of a bus type, which file systems count.

#include "winapi/Storage.h"

#include <span>
#include <string_view>
#include <vector>

// The size of a master boot record, sector 0 of an MBR disk.
inline constexpr std::size_t MbrSize = 512;

// The Logical Disk Manager (dynamic disk) partition types, as the dynamic-volume check names them.
enum class LdmPartitionType { None, MbrLdm, GptLdmMetadata, GptLdmData };

// Which LDM type the entry has: MBR type 0x42, or the GPT LDM metadata or data type; None for an
// unused MBR entry, any other type and a RAW entry.
[[nodiscard]] LdmPartitionType LdmPartitionTypeOf(const winapi::PARTITION_INFORMATION_EX& entry);

// Whether the entry is a GPT Windows recovery partition; an MBR entry never is, whatever its type.
[[nodiscard]] bool IsRecoveryPartition(const winapi::PARTITION_INFORMATION_EX& entry);

// The primary entries of the record marked active (0x80) that are no extended-partition container.
[[nodiscard]] unsigned CountActiveMbrPartitions(std::span<const winapi::BYTE, MbrSize> mbr);

// Whether the record ends in the boot signature 0xAA55.
[[nodiscard]] bool HasMbrSignature(std::span<const winapi::BYTE, MbrSize> mbr);

// Whether the machine boots more than one system: the boot records of the drives that count (each
// as far as it could be read; empty when the read failed) mark more than one primary partition
// active in all. A record shorter than MbrSize or without the boot signature adds nothing.
[[nodiscard]] bool IsDualBoot(std::span<const std::vector<winapi::BYTE>> bootRecords);

// The text of a STORAGE_BUS_TYPE value, for the more-info lines of the RAID check.
[[nodiscard]] const wchar_t* BusTypeName(int busType);

// Whether a logical disk's file system is one the product can work with: the name contains
// "NTFS" or "FAT", letter case as it is (FAT32 and exFAT count).
[[nodiscard]] bool IsSupportedFileSystem(std::wstring_view fileSystem);
