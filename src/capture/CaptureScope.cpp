#include "capture/CaptureScope.h"

const std::vector<RegistryRead>& RegistryReads()
{
    static const std::vector<RegistryRead> reads{
        // The BIOS list checks.
        {L"HARDWARE\\Description\\System", {L"SystemBiosVersion", L"SystemBiosDate"}},
        // MSSecurityEssentialsInstalledTest.
        {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft Security Essentials", {}},
        // NETFrameworkTest: where the framework folders are.
        {FrameworkKey, {FrameworkRootValue}},
        // QuillonInstallationTest.
        {L"SOFTWARE\\Norvale\\Tessel", {L"Location"}},
        {L"SOFTWARE\\Varrowen\\Quillon for PC", {L"Location"}},
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
        // FetchMakeModelTest and MemoryTest.
        {L"Win32_ComputerSystem", {L"Manufacturer", L"Model", L"TotalPhysicalMemory"}},
        {L"Win32_OperatingSystem", {L"TotalVisibleMemorySize"}},
        {L"Win32_PhysicalMemory", {L"Capacity"}},
        // LegacyUSBTest.
        {L"Win32_BIOS", {L"BiosCharacteristics"}},
        // BlacklistServiceTest.
        {L"Win32_Service", {L"Name", L"State"}},
        // The USB device lists: the associations (the devices they name: UsbDeviceRead).
        {L"Win32_USBControllerDevice", {L"Dependent"}},
        // LaptopTest: whether there is a battery at all.
        {L"Win32_Battery", {}},
        // DesktopAndPS2MouseTest.
        {L"Win32_PointingDevice", {L"DeviceInterface"}},
    };
    return reads;
}

const WmiRead& UsbDeviceRead()
{
    static const WmiRead read{L"Win32_PnPEntity", {L"DeviceID", L"Description"}};
    return read;
}
