#pragma once
// What the checks read of a machine, and so what a capture records: nothing else of the machine
// goes into a profile. A check that starts reading something new adds it here, and the
// round-trip tests of the example machines show what a capture without it would miss.

#include <string_view>
#include <vector>

struct RegistryRead {
    // Below HKEY_LOCAL_MACHINE.
    std::wstring_view key;
    // Empty: the checks only ask whether the key exists.
    std::vector<std::wstring_view> values;
};

struct WmiRead {
    std::wstring_view className;
    std::vector<std::wstring_view> properties;
};

// NETFrameworkTest reads the folder named by this value, and the version of mscorlib.dll in each
// of its subfolders.
constexpr std::wstring_view FrameworkKey = L"SOFTWARE\\Microsoft\\.NETFramework";
constexpr std::wstring_view FrameworkRootValue = L"InstallRoot";
constexpr std::wstring_view FrameworkLibrary = L"mscorlib.dll";

[[nodiscard]] const std::vector<RegistryRead>& RegistryReads();
[[nodiscard]] const std::vector<std::wstring_view>& LibraryReads();
[[nodiscard]] const std::vector<WmiRead>& WmiReads();
// The Plug and Play records of the USB devices, read one by one for the devices that the
// associations of Win32_USBControllerDevice name, not for every device of the machine.
[[nodiscard]] const WmiRead& UsbDeviceRead();
