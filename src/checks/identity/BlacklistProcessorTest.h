#pragma once

#include "framework/Test.h"

#include <string>
#include <vector>

// Fails when the machine's processor name is on the list; passes when WMI cannot tell.
class BlacklistProcessorTest : public Test {
public:
    explicit BlacklistProcessorTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
