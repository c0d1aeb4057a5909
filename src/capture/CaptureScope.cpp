#include "capture/CaptureScope.h"

const std::vector<RegistryRead>& RegistryReads()
{
    static const std::vector<RegistryRead> reads{
        // The BIOS list checks.
        {L"HARDWARE\\Description\\System", {L"SystemBiosVersion", L"SystemBiosDate"}},
        // MSSecurityEssentialsInstalledTest.
        {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft Security Essentials", {}},
    };
    return reads;
}

const std::vector<std::wstring_view>& LibraryReads()
{
    // MSXML3Test.
    static const std::vector<std::wstring_view> reads{L"msxml3.dll"};
    return reads;
}

const std::vector<WmiRead>& WmiReads()
{
    static const std::vector<WmiRead> reads{
        // The motherboard and processor list checks.
        {L"Win32_BaseBoard", {L"Manufacturer", L"Product"}},
        {L"Win32_Processor", {L"Name"}},
        // DiskLimitTest.
        {L"Win32_DiskDrive", {L"Name"}},
        // UnformattedPartitionTest.
        {L"Win32_LogicalDisk", {L"Name", L"FileSystem"}},
    };
    return reads;
}
