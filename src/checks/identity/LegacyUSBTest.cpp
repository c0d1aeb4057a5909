#include "checks/identity/LegacyUSBTest.h"

#include "platform/WmiQuery.h"

#include <array>
#include <string_view>
#include <vector>

namespace {

const std::wstring BiosClass = L"Win32_BIOS";
const std::wstring CharacteristicsProperty = L"BiosCharacteristics";
constexpr std::int32_t LegacyUsbSupported = 33;

constexpr std::array<std::wstring_view, 40> CharacteristicTexts{
    L"Reserved",
    L"Reserved",
    L"Unknown",
    L"BIOS Characteristics Not Supported",
    L"ISA is supported",
    L"MCA is supported",
    L"EISA is supported",
    L"PCI is supported",
    L"PC Card (PCMCIA) is supported",
    L"Plug and Play is supported",
    L"APM is supported",
    L"BIOS is Upgradable (Flash)",
    L"BIOS shadowing is allowed",
    L"VL-VESA is supported",
    L"ESCD support is available",
    L"Boot from CD is supported",
    L"Selectable Boot is supported",
    L"BIOS ROM is socketed",
    L"Boot From PC Card (PCMCIA) is supported",
    L"EDD (Enhanced Disk Drive) Specification is supported",
    L"Int 13h - Japanese Floppy for NEC 9800 1.2mb (3.5, 1k Bytes/Sector, 360 RPM) is supported",
    L"Int 13h - Japanese Floppy for Toshiba 1.2mb (3.5, 360 RPM) is supported",
    L"Int 13h - 5.25 / 360 KB Floppy Services are supported",
    L"Int 13h - 5.25 /1.2MB Floppy Services are supported",
    L"Int 13h - 3.5 / 720 KB Floppy Services are supported",
    L"Int 13h - 3.5 / 2.88 MB Floppy Services are supported",
    L"Int 5h, Print Screen Service is supported",
    L"Int 9h, 8042 Keyboard services are supported",
    L"Int 14h, Serial Services are supported",
    L"Int 17h, printer services are supported",
    L"Int 10h, CGA/Mono Video Services are supported",
    L"NEC PC-98",
    L"ACPI is supported",
    L"USB Legacy is supported",
    L"AGP is supported",
    L"I2O boot is supported",
    L"LS-120 boot is supported",
    L"ATAPI ZIP Drive boot is supported",
    L"1394 boot is supported",
    L"Smart Battery is supported",
};
constexpr std::int32_t FirstBiosVendorValue = 40;
constexpr std::int32_t FirstSystemVendorValue = 48;
constexpr std::int32_t FirstUnnamedValue = 64;
constexpr std::wstring_view BiosVendorText = L"Reserved for BIOS vendor";
constexpr std::wstring_view SystemVendorText = L"Reserved for system vendor";
constexpr std::wstring_view UnnamedText = L"There is no string that matches this value";

}  // namespace

bool LegacyUSBTest::Run()
{
    return SetPassed(CheckLegacyUsb());
}

std::wstring LegacyUSBTest::GetBiosCharacteristicText(std::int32_t characteristic)
{
    if (characteristic < 0 || characteristic >= FirstUnnamedValue) {
        return std::wstring(UnnamedText);
    }
    if (characteristic >= FirstSystemVendorValue) {
        return std::wstring(SystemVendorText);
    }
    if (characteristic >= FirstBiosVendorValue) {
        return std::wstring(BiosVendorText);
    }
    return std::wstring(CharacteristicTexts[static_cast<std::size_t>(characteristic)]);
}

bool LegacyUSBTest::CheckLegacyUsb()
{
    winapi::Variant value;
    if (winapi::FAILED(GetWmiProperty(BiosClass, CharacteristicsProperty, value))) {
        return false;
    }
    return ScanBiosCharacteristics(std::move(value));
}

// A value that is no array of integers (no instance, NULL) lists nothing and fails, like an
// array whose bound cannot be read; elements that could not be read are already left out.
bool LegacyUSBTest::ScanBiosCharacteristics(winapi::Variant value)
{
    std::vector<std::int32_t> characteristics;
    if (winapi::FAILED(value.GetIntegerArray(characteristics))) {
        return false;
    }
    bool legacyUsb = false;
    for (const std::int32_t characteristic : characteristics) {
        AddMoreInfo(L"%d - %wS", characteristic, GetBiosCharacteristicText(characteristic));
        if (characteristic == LegacyUsbSupported) {
            legacyUsb = true;
        }
    }
    return legacyUsb;
}
