#pragma once

#include "framework/Test.h"

#include <string>
#include <vector>

// Passes only when the description of some USB device contains one of the listed fragments (so
// an empty list fails); passes as well when WMI cannot tell.
class WhitelistUSBDeviceTest : public Test {
public:
    explicit WhitelistUSBDeviceTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
