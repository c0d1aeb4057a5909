#pragma once

#include "framework/Test.h"

#include <string>
#include <vector>

// Passes only when the machine's board string (manufacturer, blank, product) is on the list;
// passes when WMI cannot tell.
class WhitelistMotherboardTest : public Test {
public:
    explicit WhitelistMotherboardTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
