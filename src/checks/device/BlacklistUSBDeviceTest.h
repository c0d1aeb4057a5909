#pragma once

#include "framework/Test.h"

#include <string>
#include <vector>

// Fails when the description of some USB device contains one of the listed fragments; passes
// when COM or WMI cannot tell.
class BlacklistUSBDeviceTest : public Test {
public:
    explicit BlacklistUSBDeviceTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
