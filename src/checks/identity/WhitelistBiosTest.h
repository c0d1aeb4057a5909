#pragma once

#include "checks/identity/BiosTest.h"

#include <string>
#include <vector>

// Passes only when the machine's BIOS version is on the list. Each parameter is one BIOS version
// string, compared exactly.
class WhitelistBiosTest : public BiosTest {
public:
    explicit WhitelistBiosTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
