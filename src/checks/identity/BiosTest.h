#pragma once

#include "framework/Test.h"

#include <string>

// The BIOS identity that the BIOS list checks compare: read from the registry, where Windows
// records it at start-up.
class BiosTest : public Test {
public:
    using Test::Test;

protected:
    // The value under HKEY_LOCAL_MACHINE\HARDWARE\Description\System as one string: the pieces
    // of a multi-string joined with ", ", a plain string as it is.
    [[nodiscard]] std::wstring ReadSystemBiosValue(const std::wstring& valueName);
    // Each reader records its result as one more-info line and returns it.
    std::wstring GetBiosVersion();
    std::wstring GetBiosDate();
};
