#pragma once

#include "framework/Test.h"

// The running Windows must be one the document allows: its description must contain one of the
// parameters ("Windows XP" when there are none).
class OSTest : public Test {
public:
    explicit OSTest(const std::vector<std::wstring>& list);
    bool Run() override;

private:
    std::vector<std::wstring> parameters;
};
