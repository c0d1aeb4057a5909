#pragma once

#include "framework/Test.h"

#include <string>
#include <vector>

// Fails when the machine's board string (manufacturer, blank, product) is on the list; passes
// when WMI cannot tell.
class BlacklistMotherboardTest : public Test {
public:
    explicit BlacklistMotherboardTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
