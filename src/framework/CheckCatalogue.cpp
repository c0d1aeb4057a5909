#include "framework/CheckCatalogue.h"

#include "checks/disk/ContiguousFreeHardDiskSpaceTest.h"
#include "checks/disk/FreeHardDiskSpaceTest.h"
#include "checks/system/MemoryTest.h"
#include "checks/system/OSTest.h"
#include "platform/SizeParameter.h"
#include "platform/WideText.h"

#include <algorithm>
#include <array>

namespace {

using enum CheckArea;
using enum ParameterRule;
using enum SolutionValue;

constexpr std::wstring_view NoParameters = L"None; any parameter is ignored.";
constexpr std::wstring_view IdentityListMeaning =
    L"Any number of entries. An entry matches only when it equals the machine's string whole: same "
    L"letter case, same blanks (inner runs of blanks included), nothing around it.";
constexpr std::wstring_view FragmentListMeaning =
    L"Any number of fragments. A fragment matches when it occurs anywhere in the text, letter case "
    L"and blanks as written; an empty fragment occurs in every text.";
constexpr std::wstring_view MegabytesMeaning =
    L"One parameter, whole megabytes, read as the C runtime's _wtoi reads it: blanks before the "
    L"number are skipped and reading stops at the first other character, so \"2 GB\", \"2,048\" and "
    L"\"2.048\" are all 2. A value below 1, an overflowing one (2147483647 or more), no number, or a "
    L"count other than one leave the setting as it was. The setting is one for the whole run: the "
    L"last instance with a valid parameter sets it for every instance, earlier ones included.";

constexpr std::wstring_view ReadyFeatureLimit =
    L"Fails only on NT 6.0 workstations (Vista); Windows 7 and later pass whatever they offer. To "
    L"require the feature to be off on later releases, check it outside this program.";

constexpr std::array<CheckEntry, 38> Entries{{
    // Identity lists.
    {L"BlacklistBiosTest", L"BlacklistBiosTest", IdentityLists,
     L"Fails when the BIOS version is one of the listed ones.", WholeStringList, std::nullopt, {},
     IdentityListMeaning,
     L"Registry HKLM\\HARDWARE\\Description\\System, SystemBiosVersion (pieces joined with \", \") and "
     L"SystemBiosDate (reported, never compared).",
     L"The BIOS version, then the BIOS date.", Unchanged, L"When the version is listed.", {}},
    {L"WhitelistBiosTest", L"WhitelistBiosTest", IdentityLists,
     L"Passes only when the BIOS version is one of the listed ones.", WholeStringList, std::nullopt, {},
     IdentityListMeaning,
     L"Registry HKLM\\HARDWARE\\Description\\System, SystemBiosVersion (pieces joined with \", \") and "
     L"SystemBiosDate (reported, never compared).",
     L"The BIOS version, then the BIOS date.", Unchanged, L"When the version is not listed.", {}},
    {L"BlacklistMotherboardTest", L"BlacklistMotherboardTest", IdentityLists,
     L"Fails when the motherboard is one of the listed ones; passes when it cannot be read.", WholeStringList,
     std::nullopt, {}, IdentityListMeaning,
     L"WMI Win32_BaseBoard Manufacturer and Product, joined by one blank.", L"The board string.", Unchanged,
     L"When the board is listed.", {}},
    {L"WhitelistMotherboardTest", L"WhitelistMotherboardTest", IdentityLists,
     L"Passes only when the motherboard is one of the listed ones, or cannot be read.", WholeStringList,
     std::nullopt, {}, IdentityListMeaning,
     L"WMI Win32_BaseBoard Manufacturer and Product, joined by one blank.", L"The board string.", Unchanged,
     L"When the board is not listed.", {}},
    {L"BlacklistProcessorTest", L"BlacklistProcessorTest", IdentityLists,
     L"Fails when the first processor's name is one of the listed ones; passes when it cannot be read.",
     WholeStringList, std::nullopt, {}, IdentityListMeaning, L"WMI Win32_Processor Name of the first processor.",
     L"The processor name.", Never, L"Never.", {}},
    {L"WhitelistProcessorTest", L"WhitelistProcessorTest", IdentityLists,
     L"Passes only when the first processor's name is one of the listed ones, or cannot be read.",
     WholeStringList, std::nullopt, {}, IdentityListMeaning, L"WMI Win32_Processor Name of the first processor.",
     L"The processor name.", Never, L"Never.", {}},
    {L"FetchMakeModelTest", L"FetchMakeModelTest", IdentityLists,
     L"Reports the computer's make and model; passes whenever both can be read.", None, std::nullopt, {},
     NoParameters, L"WMI Win32_ComputerSystem Manufacturer and Model.",
     L"Manufacturer and model joined by a blank, trailing blanks removed.", Unchanged,
     L"Whenever it passes.", {}},
    {L"LegacyUSBTest", L"LegacyUSBTest", IdentityLists,
     L"Passes when the BIOS reports legacy USB support (characteristic 33).", None, std::nullopt, {},
     NoParameters, L"WMI Win32_BIOS BiosCharacteristics.", L"One line per characteristic: number - text.", Never,
     L"Never.", {}},
    // Disks and volumes.
    {L"FreeHardDiskSpaceTest", L"FreeHardDiskSpaceTest", DisksAndVolumes,
     L"Passes when the system drive has the required free megabytes (default 100).", Megabytes,
     MegabyteSetting{&FreeHardDiskSpaceTest::freeSpaceNeededMB, 100, &ApplySizeParameter}, {}, MegabytesMeaning,
     L"Free space of the drive that holds the Windows system directory.", L"The free megabytes.", Number,
     L"When space is short: the megabytes missing.", {}},
    {L"ContiguousFreeHardDiskSpaceTest", L"ContiguousFreeHardDiskSpaceTest", DisksAndVolumes,
     L"Passes when the Program Files drive has the required megabytes in one unbroken run of free clusters "
     L"(default 2).",
     Megabytes, MegabyteSetting{&ContiguousFreeHardDiskSpaceTest::contiguousSpaceNeededMB, 2, &ApplySizeParameter},
     {}, MegabytesMeaning, L"The cluster allocation bitmap of the Program Files drive.",
     L"The drive and its longest free run in megabytes.", Text, L"When the run is too short: the drive.", {}},
    {L"DiskLimitTest", L"DiskLimitTest", DisksAndVolumes, L"Passes with at most 6 disk drives.", None, std::nullopt,
     {}, NoParameters, L"WMI Win32_DiskDrive, counted.", L"The number of disks.", Number,
     L"With 7 or more disks: how many are too many.", {}},
    {L"DiskSizeLimitTest", L"DiskSizeLimitTest", DisksAndVolumes,
     L"Passes when no physical drive is larger than 1,048,576 MB.", None, std::nullopt, {}, NoParameters,
     L"The length of every physical drive.", L"Each drive's size in megabytes.", Unchanged,
     L"When a drive is too large.", {}},
    {L"RaidTest", L"RaidTest", DisksAndVolumes, L"Passes when none of the first 32 physical drives is on a RAID bus.",
     None, std::nullopt, {}, NoParameters, L"The storage descriptor of physical drives 0 to 31.",
     L"Each drive's path, bus number and bus name.", Never, L"Never.", {}},
    {L"DynamicVolumeTest", L"DynamicVolumeTest", DisksAndVolumes,
     L"Fails when a physical drive carries a dynamic-disk (LDM) partition.", None, std::nullopt, {}, NoParameters,
     L"The partition tables of the physical drives.", L"None.", Text, L"When a drive is dynamic: its path.", {}},
    {L"RecoveryTest", L"RecoveryTest", DisksAndVolumes, L"Fails when a physical drive carries a GPT recovery partition.",
     None, std::nullopt, {}, NoParameters, L"The partition tables of the physical drives.",
     L"The partition number of each recovery partition.", Unchanged, L"When one is found.", {}},
    {L"DualBootTest", L"DualBootTest", DisksAndVolumes,
     L"Fails when the local non-USB disks mark more than one primary partition active.", None, std::nullopt, {},
     NoParameters, L"Sector 0 of the local non-USB hard disks.", L"None.", Never, L"Never.", {}},
    {L"UnformattedPartitionTest", L"UnformattedPartitionTest", DisksAndVolumes,
     L"Passes when every fixed non-USB logical disk carries NTFS or FAT.", None, std::nullopt, {}, NoParameters,
     L"WMI Win32_LogicalDisk file systems.", L"Each disk without one.", Text, L"Per such disk: its name.", {}},
    {L"CompressedRootTest", L"CompressedRootTest", DisksAndVolumes,
     L"Fails when a fixed volume's root directory is compressed.", None, std::nullopt, {}, NoParameters,
     L"The attributes of each fixed volume's root.", L"Each volume path examined.", Text,
     L"Per compressed root: its drive.", {}},
    {L"HiddenVolumeTest", L"HiddenVolumeTest", DisksAndVolumes,
     L"Passes when every fixed non-USB volume has a drive letter.", None, std::nullopt, {}, NoParameters,
     L"The volumes and their path names.", L"Each volume without a letter.", Text, L"Per such volume: its name.", {}},
    {L"VolumeLimitTest", L"VolumeLimitTest", DisksAndVolumes, L"Passes with at most 12 fixed non-USB volumes.", None,
     std::nullopt, {}, NoParameters, L"The fixed volumes.", L"The number of volumes.", Number,
     L"With too many: the limit, 12.", {}},
    {L"VolumeMountPointTest", L"VolumeMountPointTest", DisksAndVolumes,
     L"Fails when a fixed non-USB volume has a volume mount point.", None, std::nullopt, {}, NoParameters,
     L"The mount points of each fixed volume.", L"Each mount point folder.", Text, L"Per mount point: its folder.", {}},
    {L"SystemDriveAccessibleByLetterDriveTest", L"SystemDriveAccessibleByLetterDriveTest", DisksAndVolumes,
     L"Passes when the Windows system directory lies on a drive letter from A to Z.", None, std::nullopt, {},
     NoParameters, L"The system directory.", L"The system directory.", Text,
     L"Always: the system directory.", {}},
    {L"ReadyBoostTest", L"ReadyBoostTest", DisksAndVolumes, L"Fails on the release where ReadyBoost exists as checked.",
     None, std::nullopt, {}, NoParameters, L"The Windows version and product type.",
     L"\"Checks only if the feature is present, not if it is running\".", Never, L"Never.", ReadyFeatureLimit},
    {L"ReadyDriveTest", L"ReadyDriveTest", DisksAndVolumes, L"Fails on the release where ReadyDrive exists as checked.",
     None, std::nullopt, {}, NoParameters, L"The Windows version and product type.",
     L"\"Checks only if the feature is present, not if it is running\".", Never, L"Never.", ReadyFeatureLimit},
    // System.
    {L"OSTest", L"OSTest", System, L"Passes when the description of the running Windows contains one of the fragments.",
     FragmentList, std::nullopt, OSTest::DefaultAllowedSystem,
     L"Any number of fragments of the description, such as \"Windows XP\" or \"Windows 7\" (letter case and "
     L"blanks as written). Without parameters: \"Windows XP\" alone. An empty fragment allows every system.",
     L"The Windows version record, word size and edition, as one description such as \"Microsoft Windows XP "
     L"Professional Service Pack 3 (build 2600)\".",
     L"The description.", Text, L"Always: the description.",
     L"The description names releases up to Windows 7 and Server 2008 only. Windows 8 and later carry no name: "
     L"a release that reports version 6.2 or 6.3 reads \"Microsoft \" followed by the edition and word size, one "
     L"that reports 10.0 reads \"Microsoft  (build 19045)\" (two blanks). \"Windows 8\", \"Windows 10\" or "
     L"\"Windows 11\" therefore never match; match the build instead, e.g. \"(build 19045)\", or "
     L"\"Microsoft  (build\" for every release reporting version 7 or later."},
    {L"MemoryTest", L"MemoryTest", System,
     L"Passes when the physical memory reaches the required megabytes (by default, the Windows version's need).",
     Megabytes, MegabyteSetting{&MemoryTest::memoryNeededMB, -1, &ApplySizeParameter}, {}, MegabytesMeaning,
     L"GlobalMemoryStatusEx, and for the default the Windows version (WMI memory figures are printed only).",
     L"The megabytes needed, then those installed.", Number, L"When memory is short: the megabytes needed.",
     L"Without a parameter the need comes from a table that stops at NT 6 (2000: 64, XP and 2003: 128, Vista, "
     L"2008 and 7: 512). A Windows that reports version 10.0 is \"Unsupported Operating System\" and fails "
     L"whatever its memory. Give the megabytes as a parameter, e.g. 2048."},
    {L"AdministratorTest", L"AdministratorTest", System,
     L"Passes when the process runs with administrator rights; tells an unelevated administrator apart.", None,
     std::nullopt, {}, NoParameters, L"The process token and its linked token.", L"Which token has the rights.",
     Unchanged, L"Always.", {}},
    {L"BitLockerTest", L"BitLockerTest", System, L"Passes when the Windows edition does not include BitLocker.", None,
     std::nullopt, {}, NoParameters, L"The Windows version, product type and edition.",
     L"\"Checks only if the feature is present, not if it is running\".", Never, L"Never.",
     L"Knows the NT 6.0 editions only: Vista Ultimate and Enterprise and every Server 2008 fail. Windows 7 and "
     L"every later release pass, although their Ultimate, Enterprise, Pro and server editions include BitLocker. "
     L"On later releases find BitLocker some other way."},
    {L"BitsAdminTest", L"BitsAdminTest", System,
     L"Passes unless BITS refuses a download job because the user is not logged on.", None, std::nullopt, {},
     NoParameters, L"A BITS download job, created and cancelled at once.", L"None.", Unchanged,
     L"When BITS refuses the job.", {}},
    // Software.
    {L"NETFrameworkTest", L"NETFrameworkTest", Software, L"Passes when a .NET Framework of version 2 or later is installed.",
     None, std::nullopt, {}, NoParameters, L"mscorlib.dll under the registered .NET install root.",
     L"Each framework version found.", Text, L"When none is found: the install root.", {}},
    {L"MSXML3Test", L"MSXML3Test", Software, L"Passes when MSXML 3 is installed (msxml3.dll loads).", None,
     std::nullopt, {}, NoParameters, L"msxml3.dll.", L"None.", Never, L"Never.", {}},
    {L"MSSecurityEssentialsInstalledTest", L"MSSecurityEssentialsTest", Software,
     L"Passes when Microsoft Security Essentials is not installed.", None, std::nullopt, {}, NoParameters,
     L"The product's uninstall key.", L"None.", Never, L"Never.", {}},
    {L"QuillonInstallationTest", L"QuillonInstallationTest", Software,
     L"Passes when neither Quillon nor the maker's second product is installed.", None, std::nullopt, {},
     NoParameters, L"The two products' registry keys and their Location values.", L"The location found.", Text,
     L"When one is installed: its location.", {}},
    {L"BlacklistServiceTest", L"BlacklistServiceTest", Software,
     L"Fails when a Windows service's name contains one of the fragments.", FragmentList, std::nullopt, {},
     FragmentListMeaning, L"WMI Win32_Service Name (and State, printed).", L"None.", Unchanged,
     L"When a service matches.", {}},
    // Devices.
    {L"BlacklistUSBDeviceTest", L"BlacklistUSBDeviceTest", Devices,
     L"Fails when a USB device's description contains one of the fragments.", FragmentList, std::nullopt, {},
     FragmentListMeaning, L"The descriptions of the USB devices Windows knows.", L"Each matching description.",
     Unchanged, L"When a device matches.", {}},
    {L"WhitelistUSBDeviceTest", L"WhitelistUSBDeviceTest", Devices,
     L"Passes only when a USB device's description contains one of the fragments.", FragmentList, std::nullopt, {},
     FragmentListMeaning, L"The descriptions of the USB devices Windows knows.", L"Each matching description.",
     Unchanged, L"When no device matches.", {}},
    {L"DesktopAndPS2MouseTest", L"DesktopAndPS2MouseTest", Devices,
     L"Passes on a laptop, a VMware machine, or a desktop with a PS/2 pointing device.", None, std::nullopt, {},
     NoParameters, L"WMI Win32_Battery and Win32_PointingDevice; the VMware I/O port.",
     L"Why it passed, or each pointing device's interface.", Unchanged, L"When it fails.", {}},
    {L"LaptopTest", L"LaptopTest", Devices, L"Passes on a laptop (a battery) or a VMware machine.", None, std::nullopt,
     {}, NoParameters, L"WMI Win32_Battery; the VMware I/O port.", L"Why it passed.", Unchanged,
     L"When it fails.", {}},
}};

}  // namespace

std::span<const CheckEntry> CheckCatalogue()
{
    return Entries;
}

const CheckEntry* FindCheck(std::wstring_view name)
{
    const auto found =
        std::ranges::find_if(Entries, [name](const CheckEntry& entry) { return EqualIgnoringCase(name, entry.inputName); });
    return found == Entries.end() ? nullptr : &*found;
}

const CheckEntry* FindCheckByResultName(std::wstring_view name)
{
    const auto found = std::ranges::find(Entries, name, &CheckEntry::resultName);
    return found == Entries.end() ? nullptr : &*found;
}

std::optional<int> MegabytesRead(const CheckEntry& entry, const std::vector<std::wstring>& parameters)
{
    // 0 is never stored (a value must be at least 1), so it tells a kept setting from a new one.
    int value = 0;
    entry.megabytes->read(parameters, value);
    return value == 0 ? std::nullopt : std::optional<int>(value);
}

std::wstring_view AreaTitle(CheckArea area)
{
    switch (area) {
    case IdentityLists:
        return L"Identity lists";
    case DisksAndVolumes:
        return L"Disks and volumes";
    case System:
        return L"System";
    case Software:
        return L"Software";
    case Devices:
        return L"Devices";
    }
    return {};
}
