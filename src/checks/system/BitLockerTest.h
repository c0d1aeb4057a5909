#pragma once

#include "framework/Test.h"
#include "winapi/WinTypes.h"

#include <optional>

// The Windows edition must not include BitLocker drive encryption (whether it is in use is not
// examined).
class BitLockerTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    bool IsBitLockerAvailable();
};

// Whether the edition alone (GetProductInfo's product type) decides: on an NT 6.0 workstation.
[[nodiscard]] bool EditionDecidesBitLocker(const winapi::OSVERSIONINFOEXW& version);

// Whether the Windows of the version record includes BitLocker: on NT 6.0 only, every server and,
// of the workstations, the Ultimate and Enterprise editions. productType is GetProductInfo's
// answer, absent when it was not asked or could not be had. From 6.1 on the answer is no.
[[nodiscard]] bool IncludesBitLocker(const winapi::OSVERSIONINFOEXW& version, std::optional<winapi::DWORD> productType);
