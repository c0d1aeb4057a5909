#pragma once

#include "framework/Test.h"

#include <string>
#include <vector>

// Passes only when the machine's processor name is on the list; passes when WMI cannot tell.
class WhitelistProcessorTest : public Test {
public:
    explicit WhitelistProcessorTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
