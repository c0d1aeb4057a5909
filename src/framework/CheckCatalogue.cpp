#include "framework/CheckCatalogue.h"

#include "checks/device/BlacklistUSBDeviceTest.h"
#include "checks/device/DesktopAndPS2MouseTest.h"
#include "checks/device/LaptopTest.h"
#include "checks/device/WhitelistUSBDeviceTest.h"
#include "checks/disk/CompressedRootTest.h"
#include "checks/disk/ContiguousFreeHardDiskSpaceTest.h"
#include "checks/disk/DiskLimitTest.h"
#include "checks/disk/DiskSizeLimitTest.h"
#include "checks/disk/DualBootTest.h"
#include "checks/disk/DynamicVolumeTest.h"
#include "checks/disk/FreeHardDiskSpaceTest.h"
#include "checks/disk/HiddenVolumeTest.h"
#include "checks/disk/RaidTest.h"
#include "checks/disk/ReadyBoostTest.h"
#include "checks/disk/ReadyDriveTest.h"
#include "checks/disk/RecoveryTest.h"
#include "checks/disk/SystemDriveAccessibleByLetterDriveTest.h"
#include "checks/disk/UnformattedPartitionTest.h"
#include "checks/disk/VolumeLimitTest.h"
#include "checks/disk/VolumeMountPointTest.h"
#include "checks/identity/BlacklistBiosTest.h"
#include "checks/identity/BlacklistMotherboardTest.h"
#include "checks/identity/BlacklistProcessorTest.h"
#include "checks/identity/FetchMakeModelTest.h"
#include "checks/identity/LegacyUSBTest.h"
#include "checks/identity/WhitelistBiosTest.h"
#include "checks/identity/WhitelistMotherboardTest.h"
#include "checks/identity/WhitelistProcessorTest.h"
#include "checks/system/AdministratorTest.h"
#include "checks/system/BitLockerTest.h"
#include "checks/system/BitsAdminTest.h"
#include "checks/system/BlacklistServiceTest.h"
#include "checks/system/MSSecurityEssentialsTest.h"
#include "checks/system/MSXML3Test.h"
#include "checks/system/MemoryTest.h"
#include "checks/system/NETFrameworkTest.h"
#include "checks/system/OSTest.h"
#include "checks/system/QuillonInstallationTest.h"
#include "platform/SizeParameter.h"
#include "platform/WideText.h"

#include <algorithm>
#include <array>

namespace {

using enum CheckArea;
using enum ParameterRule;
using enum SolutionValue;
using enum UnreadOutcome;

template <typename TestClass>
std::unique_ptr<Test> Make(const std::vector<std::wstring>& parameters)
{
    return std::make_unique<TestClass>(parameters);
}

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
    {
        .inputName = L"BlacklistBiosTest",
        .resultName = L"BlacklistBiosTest",
        .create = &Make<BlacklistBiosTest>,
        .compareOrder = 6,
        .area = IdentityLists,
        .summary = L"Fails when the BIOS version is one of the listed ones.",
        .parameters = WholeStringList,
        .parameterMeaning = IdentityListMeaning,
        .reads = L"Registry HKLM\\HARDWARE\\Description\\System, SystemBiosVersion (pieces joined with \", \") and "
                 L"SystemBiosDate (reported, never compared).",
        .moreInfo = L"The BIOS version, then the BIOS date.",
        .solution = Unchanged,
        .solutionWhen = L"When the version is listed.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the BIOS version could not be read",
                     .moreInfo = MoreInfoShape::FirstLineEmpty},
                    {.outcome = Fails,
                     .reason = L"the BIOS version could not be read and the list holds an empty entry",
                     .moreInfo = MoreInfoShape::FirstLineEmpty}}},
        .moreInfoLabels = {{{.label = L"BIOS version {}"}, {.label = L"BIOS date {}"}}},
    },
    {
        .inputName = L"WhitelistBiosTest",
        .resultName = L"WhitelistBiosTest",
        .create = &Make<WhitelistBiosTest>,
        .compareOrder = 31,
        .area = IdentityLists,
        .summary = L"Passes only when the BIOS version is one of the listed ones.",
        .parameters = WholeStringList,
        .parameterMeaning = IdentityListMeaning,
        .reads = L"Registry HKLM\\HARDWARE\\Description\\System, SystemBiosVersion (pieces joined with \", \") and "
                 L"SystemBiosDate (reported, never compared).",
        .moreInfo = L"The BIOS version, then the BIOS date.",
        .solution = Unchanged,
        .solutionWhen = L"When the version is not listed.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the BIOS version could not be read and the list holds an empty entry",
                     .moreInfo = MoreInfoShape::FirstLineEmpty},
                    {.outcome = Fails,
                     .reason = L"the BIOS version could not be read",
                     .moreInfo = MoreInfoShape::FirstLineEmpty}}},
        .moreInfoLabels = {{{.label = L"BIOS version {}"}, {.label = L"BIOS date {}"}}},
    },
    {
        .inputName = L"BlacklistMotherboardTest",
        .resultName = L"BlacklistMotherboardTest",
        .create = &Make<BlacklistMotherboardTest>,
        .compareOrder = 1,
        .area = IdentityLists,
        .summary = L"Fails when the motherboard is one of the listed ones; passes when it cannot be read.",
        .parameters = WholeStringList,
        .parameterMeaning = IdentityListMeaning,
        .reads = L"WMI Win32_BaseBoard Manufacturer and Product, joined by one blank.",
        .moreInfo = L"The board string.",
        .solution = Unchanged,
        .solutionWhen = L"When the board is listed.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the motherboard could not be read from WMI",
                     .moreInfo = MoreInfoShape::NoLine},
                    {.outcome = Passes,
                     .reason = L"WMI reports no motherboard",
                     .moreInfo = MoreInfoShape::OneLineEqual,
                     .moreInfoText = L" "},
                    {.outcome = Fails,
                     .reason = L"WMI reports no motherboard and the list holds an entry of one blank",
                     .moreInfo = MoreInfoShape::OneLineEqual,
                     .moreInfoText = L" "}}},
        .moreInfoLabels = {{{.label = L"board {}"}}},
    },
    {
        .inputName = L"WhitelistMotherboardTest",
        .resultName = L"WhitelistMotherboardTest",
        .create = &Make<WhitelistMotherboardTest>,
        .compareOrder = 32,
        .area = IdentityLists,
        .summary = L"Passes only when the motherboard is one of the listed ones, or cannot be read.",
        .parameters = WholeStringList,
        .parameterMeaning = IdentityListMeaning,
        .reads = L"WMI Win32_BaseBoard Manufacturer and Product, joined by one blank.",
        .moreInfo = L"The board string.",
        .solution = Unchanged,
        .solutionWhen = L"When the board is not listed.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the motherboard could not be read from WMI",
                     .moreInfo = MoreInfoShape::NoLine},
                    {.outcome = Passes,
                     .reason = L"WMI reports no motherboard and the list holds an entry of one blank",
                     .moreInfo = MoreInfoShape::OneLineEqual,
                     .moreInfoText = L" "},
                    {.outcome = Fails,
                     .reason = L"WMI reports no motherboard",
                     .moreInfo = MoreInfoShape::OneLineEqual,
                     .moreInfoText = L" "}}},
        .moreInfoLabels = {{{.label = L"board {}"}}},
    },
    {
        .inputName = L"BlacklistProcessorTest",
        .resultName = L"BlacklistProcessorTest",
        .create = &Make<BlacklistProcessorTest>,
        .compareOrder = 3,
        .area = IdentityLists,
        .summary = L"Fails when the first processor's name is one of the listed ones; passes when it cannot be read.",
        .parameters = WholeStringList,
        .parameterMeaning = IdentityListMeaning,
        .reads = L"WMI Win32_Processor Name of the first processor.",
        .moreInfo = L"The processor name.",
        .solution = Never,
        .solutionWhen = L"Never.",
        .unread =
            {{{.outcome = Passes,
               .reason = L"the processor could not be read from WMI",
               .moreInfo = MoreInfoShape::NoLine},
              {.outcome = Passes, .reason = L"WMI reports no processor name", .moreInfo = MoreInfoShape::OneEmptyLine},
              {.outcome = Fails,
               .reason = L"WMI reports no processor name and the list holds an empty entry",
               .moreInfo = MoreInfoShape::OneEmptyLine}}},
        .moreInfoLabels = {{{.label = L"processor {}"}}},
    },
    {
        .inputName = L"WhitelistProcessorTest",
        .resultName = L"WhitelistProcessorTest",
        .create = &Make<WhitelistProcessorTest>,
        .compareOrder = 33,
        .area = IdentityLists,
        .summary = L"Passes only when the first processor's name is one of the listed ones, or cannot be read.",
        .parameters = WholeStringList,
        .parameterMeaning = IdentityListMeaning,
        .reads = L"WMI Win32_Processor Name of the first processor.",
        .moreInfo = L"The processor name.",
        .solution = Never,
        .solutionWhen = L"Never.",
        .unread =
            {{{.outcome = Passes,
               .reason = L"the processor could not be read from WMI",
               .moreInfo = MoreInfoShape::NoLine},
              {.outcome = Passes,
               .reason = L"WMI reports no processor name and the list holds an empty entry",
               .moreInfo = MoreInfoShape::OneEmptyLine},
              {.outcome = Fails, .reason = L"WMI reports no processor name", .moreInfo = MoreInfoShape::OneEmptyLine}}},
        .moreInfoLabels = {{{.label = L"processor {}"}}},
    },
    {
        .inputName = L"FetchMakeModelTest",
        .resultName = L"FetchMakeModelTest",
        .create = &Make<FetchMakeModelTest>,
        .compareOrder = 36,
        .area = IdentityLists,
        .summary = L"Reports the computer's make and model; passes whenever both can be read.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"WMI Win32_ComputerSystem Manufacturer and Model.",
        .moreInfo = L"Manufacturer and model joined by a blank, trailing blanks removed.",
        .solution = Unchanged,
        .solutionWhen = L"Whenever it passes.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the make and model could not be read from WMI",
                     .moreInfo = MoreInfoShape::NoLine},
                    {.outcome = Passes,
                     .reason = L"WMI reports neither make nor model",
                     .moreInfo = MoreInfoShape::OneEmptyLine}}},
    },
    {
        .inputName = L"LegacyUSBTest",
        .resultName = L"LegacyUSBTest",
        .create = &Make<LegacyUSBTest>,
        .compareOrder = 18,
        .area = IdentityLists,
        .summary = L"Passes when the BIOS reports legacy USB support (characteristic 33).",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"WMI Win32_BIOS BiosCharacteristics.",
        .moreInfo = L"One line per characteristic: number - text.",
        .solution = Never,
        .solutionWhen = L"Never.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the BIOS characteristics could not be read from WMI (or the BIOS lists none)",
                     .moreInfo = MoreInfoShape::NoLine}}},
    },
    // Disks and volumes.
    {
        .inputName = L"FreeHardDiskSpaceTest",
        .resultName = L"FreeHardDiskSpaceTest",
        .create = &Make<FreeHardDiskSpaceTest>,
        .compareOrder = 14,
        .area = DisksAndVolumes,
        .summary = L"Passes when the system drive has the required free megabytes (default 100).",
        .parameters = Megabytes,
        .unit = L"megabytes",
        .megabytes = MegabyteSetting{.setting = &FreeHardDiskSpaceTest::freeSpaceNeededMB,
                                     .initial = FreeHardDiskSpaceTest::DefaultFreeSpaceNeededMB,
                                     .read = &ApplySizeParameter},
        .parameterMeaning = MegabytesMeaning,
        .reads = L"Free space of the drive that holds the Windows system directory.",
        .moreInfo = L"The free megabytes.",
        .solution = Number,
        .solutionWhen = L"When space is short: the megabytes missing.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the system directory could not be found",
                     .moreInfo = MoreInfoShape::NoLine,
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[HDTEST] ERROR: Could not determine installation disk"},
                    {.outcome = Fails,
                     .reason = L"the free space of the system drive could not be read",
                     .moreInfo = MoreInfoShape::NoLine,
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[HDTEST] ERROR: Could not determine available hard disk space"}}},
        .moreInfoLabels = {{{.label = L"free {} MB", .oneMachine = true}}},
        .failureWords = L"too little free space",
    },
    {
        .inputName = L"ContiguousFreeHardDiskSpaceTest",
        .resultName = L"ContiguousFreeHardDiskSpaceTest",
        .create = &Make<ContiguousFreeHardDiskSpaceTest>,
        .compareOrder = 9,
        .area = DisksAndVolumes,
        .summary =
            L"Passes when the Program Files drive has the required megabytes in one unbroken run of free clusters "
            L"(default 2).",
        .parameters = Megabytes,
        .unit = L"megabytes",
        .megabytes = MegabyteSetting{.setting = &ContiguousFreeHardDiskSpaceTest::contiguousSpaceNeededMB,
                                     .initial = ContiguousFreeHardDiskSpaceTest::DefaultContiguousSpaceNeededMB,
                                     .read = &ApplySizeParameter},
        .parameterMeaning = MegabytesMeaning,
        .reads = L"The cluster allocation bitmap of the Program Files drive.",
        .moreInfo = L"The drive and its longest free run in megabytes.",
        .solution = Text,
        .solutionWhen = L"When the run is too short: the drive.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the Program Files folder could not be found",
                     .moreInfo = MoreInfoShape::OneLineEqual,
                     .moreInfoText = L"Couldn't find program files folder location"},
                    {.outcome = Passes,
                     .reason = L"a drive could not be opened (that needs administrator rights), and such a drive "
                               L"counts as having enough",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[HDTEST] ERROR: Couldn't open "},
                    {.outcome = Passes,
                     .reason =
                         L"a drive's allocation bitmap could not be read, and such a drive counts as having enough",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[HDTEST] ERROR: could not get volume bitmap"},
                    {.outcome = Passes,
                     .reason = L"a drive's cluster size could not be read, and such a drive counts as having enough",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[HDTEST] ERROR: Couldn't retrieve cluster size"},
                    {.outcome = Passes,
                     .reason = L"the Program Files drive is not a fixed local disk, so it is not looked at"}}},
        .moreInfoLabels = {{{.label = L"longest free run {}", .oneMachine = true}}},
        .failureWords = L"too little contiguous free space",
    },
    {
        .inputName = L"DiskLimitTest",
        .resultName = L"DiskLimitTest",
        .create = &Make<DiskLimitTest>,
        .compareOrder = 10,
        .area = DisksAndVolumes,
        .summary = L"Passes with at most 6 disk drives.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"WMI Win32_DiskDrive, counted.",
        .moreInfo = L"The number of disks.",
        .solution = Number,
        .solutionWhen = L"With 7 or more disks: how many are too many.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the disk drives could not be listed through WMI",
                     .moreInfo = MoreInfoShape::OneLineEqual,
                     .moreInfoText = L"0"}}},
        .moreInfoLabels = {{{.label = L"{} disks"}}},
    },
    {
        .inputName = L"DiskSizeLimitTest",
        .resultName = L"DiskSizeLimitTest",
        .create = &Make<DiskSizeLimitTest>,
        .compareOrder = 11,
        .area = DisksAndVolumes,
        .summary = L"Passes when no physical drive is larger than 1,048,576 MB.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The length of every physical drive.",
        .moreInfo = L"Each drive's size in megabytes.",
        .solution = Unchanged,
        .solutionWhen = L"When a drive is too large.",
        .unread = {{{.outcome = Passes,
                     .reason = L"no physical drive could be opened (that needs administrator rights)"},
                    {.outcome = Passes, .reason = L"a drive's length could not be read"}}},
        .moreInfoLabels = {{{.label = L"a drive of {} MB", .oneMachine = true}}},
        .failureWords = L"a drive too large",
    },
    {
        .inputName = L"RaidTest",
        .resultName = L"RaidTest",
        .create = &Make<RaidTest>,
        .compareOrder = 35,
        .area = DisksAndVolumes,
        .summary = L"Passes when none of the first 32 physical drives is on a RAID bus.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The storage descriptor of physical drives 0 to 31.",
        .moreInfo = L"Each drive's path, bus number and bus name.",
        .solution = Never,
        .solutionWhen = L"Never.",
        .unread = {{{.outcome = Passes,
                     .reason = L"no physical drive could be opened (that needs administrator rights)",
                     .moreInfo = MoreInfoShape::NoLine},
                    {.outcome = Passes, .reason = L"a drive's storage descriptor could not be read"}}},
        .moreInfoLabels = {{{.label = L"drive, bus number and bus {}", .oneMachine = true}}},
        .failureWords = L"a drive on a RAID bus",
    },
    {
        .inputName = L"DynamicVolumeTest",
        .resultName = L"DynamicVolumeTest",
        .create = &Make<DynamicVolumeTest>,
        .compareOrder = 13,
        .area = DisksAndVolumes,
        .summary = L"Fails when a physical drive carries a dynamic-disk (LDM) partition.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The partition tables of the physical drives.",
        .moreInfo = L"None.",
        .solution = Text,
        .solutionWhen = L"When a drive is dynamic: its path.",
        .unread = {{{.outcome = Passes,
                     .reason = L"no physical drive could be opened (that needs administrator rights)",
                     .console = ConsoleShape::OnlyLine,
                     .consoleText = L"[DVTEST] No dynamic disks detected...SUCCESS"},
                    {.outcome = Passes,
                     .reason = L"a drive's partition table could not be read",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[DVTEST] ERROR: Could not retrieve partitions"}}},
        .moreInfoLabels = {{{.label = L"volume {}", .oneMachine = true}}},
        .failureWords = L"a dynamic volume",
    },
    {
        .inputName = L"RecoveryTest",
        .resultName = L"RecoveryTest",
        .create = &Make<RecoveryTest>,
        .compareOrder = 26,
        .area = DisksAndVolumes,
        .summary = L"Fails when a physical drive carries a GPT recovery partition.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The partition tables of the physical drives.",
        .moreInfo = L"The partition number of each recovery partition.",
        .solution = Unchanged,
        .solutionWhen = L"When one is found.",
        .unread = {{{.outcome = Passes,
                     .reason = L"no physical drive could be opened (that needs administrator rights)"},
                    {.outcome = Passes,
                     .reason = L"a drive's partition table could not be read",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[RTEST] ERROR: Could not retrieve partitions"}}},
        .moreInfoLabels = {{{.label = L"recovery partition {}"}}},
    },
    {
        .inputName = L"DualBootTest",
        .resultName = L"DualBootTest",
        .create = &Make<DualBootTest>,
        .compareOrder = 12,
        .area = DisksAndVolumes,
        .summary = L"Fails when the local non-USB disks mark more than one primary partition active.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"Sector 0 of the local non-USB hard disks.",
        .moreInfo = L"None.",
        .solution = Never,
        .solutionWhen = L"Never.",
        .unread = {{{.outcome = Passes,
                     .reason = L"no physical drive could be opened (that needs administrator rights)",
                     .console = ConsoleShape::NoLine},
                    {.outcome = Passes, .reason = L"a drive's first sector could not be read"},
                    {.outcome = Passes,
                     .reason = L"the volumes could not be listed, so no drive counts as a local hard disk"}}},
    },
    {
        .inputName = L"UnformattedPartitionTest",
        .resultName = L"UnformattedPartitionTest",
        .create = &Make<UnformattedPartitionTest>,
        .compareOrder = 28,
        .area = DisksAndVolumes,
        .summary = L"Passes when every fixed non-USB logical disk carries NTFS or FAT.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"WMI Win32_LogicalDisk file systems.",
        .moreInfo = L"Each disk without one.",
        .solution = Text,
        .solutionWhen = L"Per such disk: its name.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the logical disks could not be listed through WMI",
                     .console = ConsoleShape::NoLine},
                    {.outcome = Passes,
                     .reason = L"the list of logical disks broke off, or a disk's file system could not be read"}}},
    },
    {
        .inputName = L"CompressedRootTest",
        .resultName = L"CompressedRootTest",
        .create = &Make<CompressedRootTest>,
        .compareOrder = 8,
        .area = DisksAndVolumes,
        .summary = L"Fails when a fixed volume's root directory is compressed.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The attributes of each fixed volume's root.",
        .moreInfo =
            L"Each compressed root, as its drive's device path or its volume name; nothing for the roots that are not.",
        .solution = Text,
        .solutionWhen = L"Per compressed root: its drive.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the volumes could not be listed, so only the roots of drive letters were looked at",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[CRTEST] ERROR: Cannot find any volumes"},
                    {.outcome = Passes, .reason = L"a root folder's attributes could not be read"}}},
        .moreInfoLabels = {{{.label = L"volume {}", .oneMachine = true}}},
        .failureWords = L"a compressed volume root",
    },
    {
        .inputName = L"HiddenVolumeTest",
        .resultName = L"HiddenVolumeTest",
        .create = &Make<HiddenVolumeTest>,
        .compareOrder = 15,
        .area = DisksAndVolumes,
        .summary = L"Passes when every fixed non-USB volume has a drive letter.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The volumes and their path names.",
        .moreInfo = L"Each volume without a letter.",
        .solution = Text,
        .solutionWhen = L"Per such volume: its name.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the volumes could not be listed",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[HVTEST] ERROR: Cannot find any volumes"}}},
        .moreInfoLabels = {{{.label = L"volume {}", .oneMachine = true}}},
        .failureWords = L"a volume without a letter",
    },
    {
        .inputName = L"VolumeLimitTest",
        .resultName = L"VolumeLimitTest",
        .create = &Make<VolumeLimitTest>,
        .compareOrder = 29,
        .area = DisksAndVolumes,
        .summary = L"Passes with at most 12 fixed non-USB volumes.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The fixed volumes.",
        .moreInfo = L"The number of volumes.",
        .solution = Number,
        .solutionWhen = L"With too many: the limit, 12.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the volumes could not be listed",
                     .moreInfo = MoreInfoShape::OneLineEqual,
                     .moreInfoText = L"0"}}},
        .moreInfoLabels = {{{.label = L"{} volumes"}}},
    },
    {
        .inputName = L"VolumeMountPointTest",
        .resultName = L"VolumeMountPointTest",
        .create = &Make<VolumeMountPointTest>,
        .compareOrder = 30,
        .area = DisksAndVolumes,
        .summary = L"Fails when a fixed non-USB volume has a volume mount point.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The mount points of each fixed volume.",
        .moreInfo = L"Each mount point folder.",
        .solution = Text,
        .solutionWhen = L"Per mount point: its folder.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the volumes could not be listed",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[VMPTEST] ERROR: Cannot find any volumes"}}},
        .moreInfoLabels = {{{.label = L"mount point {}", .oneMachine = true}}},
        .failureWords = L"a volume mount point",
    },
    {
        .inputName = L"SystemDriveAccessibleByLetterDriveTest",
        .resultName = L"SystemDriveAccessibleByLetterDriveTest",
        .create = &Make<SystemDriveAccessibleByLetterDriveTest>,
        .compareOrder = 27,
        .area = DisksAndVolumes,
        .summary = L"Passes when the Windows system directory lies on a drive letter from A to Z.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The system directory.",
        .moreInfo = L"The system directory.",
        .solution = Text,
        .solutionWhen = L"Always: the system directory.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the system directory could not be found",
                     .moreInfo = MoreInfoShape::NoLine}}},
        .moreInfoLabels = {{{.label = L"system directory {}"}}},
    },
    {
        .inputName = L"ReadyBoostTest",
        .resultName = L"ReadyBoostTest",
        .create = &Make<ReadyBoostTest>,
        .compareOrder = 24,
        .area = DisksAndVolumes,
        .summary = L"Fails on the release where ReadyBoost exists as checked.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The Windows version and product type.",
        .moreInfo = L"\"Checks only if the feature is present, not if it is running\".",
        .solution = Never,
        .solutionWhen = L"Never.",
        .laterWindows = ReadyFeatureLimit,
        .unread = {{{.outcome = Passes,
                     .reason = L"the Windows version could not be read",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"Couldn't get the os information"}}},
    },
    {
        .inputName = L"ReadyDriveTest",
        .resultName = L"ReadyDriveTest",
        .create = &Make<ReadyDriveTest>,
        .compareOrder = 25,
        .area = DisksAndVolumes,
        .summary = L"Fails on the release where ReadyDrive exists as checked.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The Windows version and product type.",
        .moreInfo = L"\"Checks only if the feature is present, not if it is running\".",
        .solution = Never,
        .solutionWhen = L"Never.",
        .laterWindows = ReadyFeatureLimit,
        .unread = {{{.outcome = Passes,
                     .reason = L"the Windows version could not be read",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"Couldn't get the os information"}}},
    },
    // System.
    {
        .inputName = L"OSTest",
        .resultName = L"OSTest",
        .create = &Make<OSTest>,
        .compareOrder = 23,
        .area = System,
        .summary = L"Passes when the description of the running Windows contains one of the fragments.",
        .parameters = FragmentList,
        .defaultEntry = OSTest::DefaultAllowedSystem,
        .parameterMeaning =
            L"Any number of fragments of the description, such as \"Windows XP\" or \"Windows 7\" (letter case and "
            L"blanks as written). Without parameters: \"Windows XP\" alone. An empty fragment allows every system.",
        .reads =
            L"The Windows version record, word size and edition, as one description such as \"Microsoft Windows XP "
            L"Professional Service Pack 3 (build 2600)\".",
        .moreInfo = L"The description.",
        .solution = Text,
        .solutionWhen = L"Always: the description.",
        .laterWindows =
            L"The description names releases up to Windows 7 and Server 2008 only. Windows 8 and later carry no name: "
            L"a release that reports version 6.2 or 6.3 reads \"Microsoft \" followed by the edition and word size, "
            L"one "
            L"that reports 10.0 reads \"Microsoft  (build 19045)\" (two blanks). \"Windows 8\", \"Windows 10\" or "
            L"\"Windows 11\" therefore never match; match the build instead, e.g. \"(build 19045)\", or "
            L"\"Microsoft  (build\" for every release reporting version 7 or later.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the Windows version could not be read",
                     .moreInfo = MoreInfoShape::NoLine}}},
    },
    {
        .inputName = L"MemoryTest",
        .resultName = L"MemoryTest",
        .create = &Make<MemoryTest>,
        .compareOrder = 19,
        .area = System,
        .summary =
            L"Passes when the physical memory reaches the required megabytes (by default, the Windows version's need).",
        .parameters = Megabytes,
        .unit = L"megabytes",
        .megabytes = MegabyteSetting{.setting = &MemoryTest::memoryNeededMB,
                                     .initial = MemoryTest::DefaultMemoryNeededMB,
                                     .read = &ApplySizeParameter},
        .parameterMeaning = MegabytesMeaning,
        .reads =
            L"GlobalMemoryStatusEx, and for the default the Windows version (WMI memory figures are printed only). "
            L"Windows counts the memory it can use, less than the modules hold: a \"4 GB\" PC reports 4094 or 4095 "
            L"megabytes, so a parameter of 4096 fails on it; ask for 4000.",
        .moreInfo = L"The megabytes needed, then those installed.",
        .solution = Number,
        .solutionWhen = L"When memory is short: the megabytes needed.",
        .laterWindows =
            L"Without a parameter the need comes from a table that stops at NT 6 (2000: 64, XP and 2003: 128, Vista, "
            L"2008 and 7: 512). A Windows that reports version 10.0 is \"Unsupported Operating System\" and fails "
            L"whatever its memory. Give the megabytes as a parameter, e.g. 2048.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the Windows version could not be read, so the memory it needs is unknown",
                     .moreInfo = MoreInfoShape::NoLine,
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[MTEST] ERROR: Could not recover OS version information"},
                    {.outcome = Fails,
                     .reason = L"the memory this Windows release needs is unknown (no row for its version, such as "
                               L"10.0); the installed memory was not looked at",
                     .moreInfo = MoreInfoShape::NoLine,
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[MTEST] ERROR: Unsupported Operating System"},
                    {.outcome = Fails,
                     .reason = L"the installed memory could not be read",
                     .moreInfo = MoreInfoShape::NoLine,
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"[MTEST] ERROR: Could not determine amount of installed memory"}}},
        .moreInfoLabels = {{{.label = L"needed {} MB"}, {.label = L"installed {} MB"}}},
    },
    {
        .inputName = L"AdministratorTest",
        .resultName = L"AdministratorTest",
        .create = &Make<AdministratorTest>,
        .compareOrder = 0,
        .area = System,
        .summary = L"Passes when the process runs with administrator rights; tells an unelevated administrator apart.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The process token and its linked token.",
        .moreInfo = L"Which token has the rights.",
        .solution = Unchanged,
        .solutionWhen = L"Always.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the process token could not be opened (Windows Vista and later; before Vista the "
                               L"check writes no line in any case)",
                     .moreInfo = MoreInfoShape::NoLine}}},
    },
    {
        .inputName = L"BitLockerTest",
        .resultName = L"BitLockerTest",
        .create = &Make<BitLockerTest>,
        .compareOrder = 7,
        .area = System,
        .summary = L"Passes when the Windows edition does not include BitLocker.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The Windows version, product type and edition.",
        .moreInfo = L"\"Checks only if the feature is present, not if it is running\".",
        .solution = Never,
        .solutionWhen = L"Never.",
        .laterWindows =
            L"Knows the NT 6.0 editions only: Vista Ultimate and Enterprise and every Server 2008 fail. Windows 7 and "
            L"every later release pass, although their Ultimate, Enterprise, Pro and server editions include "
            L"BitLocker. "
            L"On later releases find BitLocker some other way.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the Windows version could not be read",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"Couldn't get the os information"},
                    {.outcome = Passes, .reason = L"the edition of Windows Vista could not be read"}}},
    },
    {
        .inputName = L"BitsAdminTest",
        .resultName = L"BitsAdminTest",
        .create = &Make<BitsAdminTest>,
        .compareOrder = 2,
        .area = System,
        .summary = L"Passes unless BITS refuses a download job because the user is not logged on.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"A BITS download job, created and cancelled at once.",
        .moreInfo = L"None.",
        .solution = Unchanged,
        .solutionWhen = L"When BITS refuses the job.",
        .unread = {{{.outcome = Passes, .reason = L"BITS could not be asked for a download job"},
                    {.outcome = Passes,
                     .reason = L"BITS refused the download for a reason other than a missing logon"}}},
    },
    // Software.
    {
        .inputName = L"NETFrameworkTest",
        .resultName = L"NETFrameworkTest",
        .create = &Make<NETFrameworkTest>,
        .compareOrder = 21,
        .area = Software,
        .summary = L"Passes when a .NET Framework of version 2 or later is installed.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"mscorlib.dll under the registered .NET install root (the 32-bit one, Framework, on 64-bit Windows).",
        .moreInfo = L"Each framework version found.",
        .solution = Text,
        .solutionWhen = L"When none is found: the install root.",
        .unread = {{{.outcome = Fails,
                     .reason = L"the .NET install root could not be read from the registry (as when no .NET Framework "
                               L"is installed)"},
                    {.outcome = Fails,
                     .reason = L"the .NET install folder could not be searched",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"no files found"}}},
    },
    {
        .inputName = L"MSXML3Test",
        .resultName = L"MSXML3Test",
        .create = &Make<MSXML3Test>,
        .compareOrder = 20,
        .area = Software,
        .summary = L"Passes when MSXML 3 is installed (msxml3.dll loads).",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"msxml3.dll.",
        .moreInfo = L"None.",
        .solution = Never,
        .solutionWhen = L"Never.",
    },
    {
        .inputName = L"MSSecurityEssentialsInstalledTest",
        .resultName = L"MSSecurityEssentialsTest",
        .create = &Make<MSSecurityEssentialsTest>,
        .compareOrder = 37,
        .area = Software,
        .summary = L"Passes when Microsoft Security Essentials is not installed.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"The product's uninstall key, in the 32-bit registry view: a 64-bit-only install is not seen.",
        .moreInfo = L"None.",
        .solution = Never,
        .solutionWhen = L"Never.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the product's uninstall key could not be opened for a reason other than its absence, "
                               L"such as missing rights"}}},
    },
    {
        .inputName = L"QuillonInstallationTest",
        .resultName = L"QuillonInstallationTest",
        .create = &Make<QuillonInstallationTest>,
        .compareOrder = 22,
        .area = Software,
        .summary = L"Passes when neither Quillon nor the maker's second product is installed.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads =
            L"The two products' registry keys and their Location values, in the 32-bit registry view: a 64-bit-only "
            L"install is not seen.",
        .moreInfo = L"The location found.",
        .solution = Text,
        .solutionWhen = L"When one is installed: its location.",
        .unread = {{{.outcome = Passes, .reason = L"a product's key exists but its Location value could not be read"}}},
        .moreInfoLabels = {{{.label = L"found in {}"}}},
    },
    {
        .inputName = L"BlacklistServiceTest",
        .resultName = L"BlacklistServiceTest",
        .create = &Make<BlacklistServiceTest>,
        .compareOrder = 4,
        .area = Software,
        .summary = L"Fails when a Windows service's name contains one of the fragments.",
        .parameters = FragmentList,
        .parameterMeaning = FragmentListMeaning,
        .reads = L"WMI Win32_Service Name (and State, printed).",
        .moreInfo = L"None.",
        .solution = Unchanged,
        .solutionWhen = L"When a service matches.",
        .unread = {{{.outcome = Passes,
                     .reason = L"COM could not be started for the service query",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"BLACKLIST SERVICE COINITIALIZE FAILED"},
                    {.outcome = Passes,
                     .reason = L"the services could not be listed through WMI",
                     .console = ConsoleShape::NoLine},
                    {.outcome = Passes, .reason = L"the list of services broke off with an error"}}},
    },
    // Devices.
    {
        .inputName = L"BlacklistUSBDeviceTest",
        .resultName = L"BlacklistUSBDeviceTest",
        .create = &Make<BlacklistUSBDeviceTest>,
        .compareOrder = 5,
        .area = Devices,
        .summary = L"Fails when a USB device's description contains one of the fragments.",
        .parameters = FragmentList,
        .parameterMeaning = FragmentListMeaning,
        .reads = L"The descriptions of the USB devices Windows knows.",
        .moreInfo = L"Every USB device's description, matching or not, as \"Description: \" and the text, with a line "
                    L"break at the end.",
        .solution = Unchanged,
        .solutionWhen = L"When a device matches.",
        .unread = {{{.outcome = Passes,
                     .reason = L"COM could not be started for the USB device query",
                     .moreInfo = MoreInfoShape::NoLine,
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"BLACKLIST USB COINITIALIZE FAILED"},
                    {.outcome = Passes,
                     .reason = L"the USB devices could not be listed through WMI (or Windows lists none, which a PC "
                               L"with USB ports does not)",
                     .moreInfo = MoreInfoShape::NoLine},
                    {.outcome = Passes,
                     .reason =
                         L"a USB device's record could not be read, and the devices after it were not looked at"}}},
        .moreInfoLabels = {{{.label = L"device {}"}}},
    },
    {
        .inputName = L"WhitelistUSBDeviceTest",
        .resultName = L"WhitelistUSBDeviceTest",
        .create = &Make<WhitelistUSBDeviceTest>,
        .compareOrder = 34,
        .area = Devices,
        .summary = L"Passes when a USB device's description contains one of the fragments, or when the devices cannot "
                   L"be listed.",
        .parameters = FragmentList,
        .parameterMeaning = FragmentListMeaning,
        .reads = L"The descriptions of the USB devices Windows knows.",
        .moreInfo = L"Every USB device's description, matching or not, as \"Description: \" and the text, with a line "
                    L"break at the end.",
        .solution = Unchanged,
        .solutionWhen = L"When no device matches.",
        .unread = {{{.outcome = Passes,
                     .reason = L"the USB devices could not be listed through WMI (or Windows lists none, which a PC "
                               L"with USB ports does not)",
                     .moreInfo = MoreInfoShape::NoLine},
                    {.outcome = Passes,
                     .reason =
                         L"a USB device's record could not be read, and the devices after it were not looked at"}}},
        .moreInfoLabels = {{{.label = L"device {}"}}},
    },
    {
        .inputName = L"DesktopAndPS2MouseTest",
        .resultName = L"DesktopAndPS2MouseTest",
        .create = &Make<DesktopAndPS2MouseTest>,
        .compareOrder = 17,
        .area = Devices,
        .summary = L"Passes on a laptop, a VMware machine, or a desktop with a PS/2 pointing device.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"WMI Win32_Battery and Win32_PointingDevice; the VMware I/O port.",
        .moreInfo = L"Why it passed, or each pointing device's interface.",
        .solution = Unchanged,
        .solutionWhen = L"When it fails.",
        .unread = {{{.outcome = Fails,
                     .reason = L"COM could not be started for the battery and pointing-device queries",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"DesktopAndPS2MouseTest COINITIALIZE FAILED"},
                    {.outcome = Fails,
                     .reason = L"the pointing devices could not be listed through WMI",
                     .moreInfo = MoreInfoShape::NoLine},
                    {.outcome = Fails,
                     .reason = L"the battery could not be read through WMI, so a laptop counts as a desktop"}}},
    },
    {
        .inputName = L"LaptopTest",
        .resultName = L"LaptopTest",
        .create = &Make<LaptopTest>,
        .compareOrder = 16,
        .area = Devices,
        .summary = L"Passes on a laptop (a battery) or a VMware machine.",
        .parameters = None,
        .parameterMeaning = NoParameters,
        .reads = L"WMI Win32_Battery; the VMware I/O port.",
        .moreInfo = L"None, whether it passes or fails.",
        .solution = Unchanged,
        .solutionWhen = L"When it fails.",
        .unread = {{{.outcome = Fails,
                     .reason = L"COM could not be started for the battery query",
                     .console = ConsoleShape::HasLine,
                     .consoleText = L"LAPTOPTEST COINITIALIZE FAILED"},
                    {.outcome = Fails, .reason = L"the battery could not be read through WMI"}}},
    },
}};

// Each compare position names exactly one row.
consteval bool ComparePositionsAreAPermutation()
{
    std::array<bool, Entries.size()> taken{};
    for (const CheckEntry& entry : Entries) {
        if (entry.compareOrder < 0 || static_cast<std::size_t>(entry.compareOrder) >= Entries.size() ||
            taken[static_cast<std::size_t>(entry.compareOrder)]) {
            return false;
        }
        taken[static_cast<std::size_t>(entry.compareOrder)] = true;
    }
    return true;
}
static_assert(ComparePositionsAreAPermutation());

constexpr std::array<const CheckEntry*, Entries.size()> CompareOrder = [] {
    std::array<const CheckEntry*, Entries.size()> order{};
    for (const CheckEntry& entry : Entries) {
        order[static_cast<std::size_t>(entry.compareOrder)] = &entry;
    }
    return order;
}();

}  // namespace

std::span<const CheckEntry> CheckCatalogue()
{
    return Entries;
}

std::span<const CheckEntry* const> CheckCompareOrder()
{
    return CompareOrder;
}

const CheckEntry* FindCheck(std::wstring_view name)
{
    const auto found = std::ranges::find_if(
        CompareOrder, [name](const CheckEntry* entry) { return EqualIgnoringCase(name, entry->inputName); });
    return found == CompareOrder.end() ? nullptr : *found;
}

const CheckEntry* FindCheckByResultName(std::wstring_view name)
{
    const auto found = std::ranges::find(Entries, name, &CheckEntry::resultName);
    return found == Entries.end() ? nullptr : &*found;
}

std::span<const UnreadPath> UnreadPaths(const CheckEntry& entry)
{
    const auto end = std::ranges::find_if(entry.unread, [](const UnreadPath& path) { return path.reason.empty(); });
    return {entry.unread.begin(), end};
}

std::span<const MoreInfoLabel> MoreInfoLabels(const CheckEntry& entry)
{
    const auto end =
        std::ranges::find_if(entry.moreInfoLabels, [](const MoreInfoLabel& line) { return line.label.empty(); });
    return {entry.moreInfoLabels.begin(), end};
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
    case IdentityLists: return L"Identity lists";
    case DisksAndVolumes: return L"Disks and volumes";
    case System: return L"System";
    case Software: return L"Software";
    case Devices: return L"Devices";
    }
    return {};
}
