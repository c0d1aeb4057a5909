#pragma once

#include "framework/Test.h"

#include "winapi/Variant.h"

#include <cstdint>
#include <string>

// The BIOS must support legacy USB (characteristic 33); every characteristic the firmware
// reports is listed.
class LegacyUSBTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    // The text of a BIOS characteristic, as the SMBIOS characteristics table names it.
    [[nodiscard]] static std::wstring GetBiosCharacteristicText(std::int32_t characteristic);
    bool CheckLegacyUsb();
    // One more-info line per element, in array order; true when one of them is 33.
    bool ScanBiosCharacteristics(winapi::Variant value);
};
