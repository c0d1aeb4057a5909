#pragma once

#include "framework/Test.h"

#include "winapi/WinTypes.h"

// Reports the computer's manufacturer and model; passes whenever both can be read.
class FetchMakeModelTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    // Prints and records "manufacturer model" without trailing blanks; negative when either
    // value cannot be read.
    [[nodiscard]] winapi::HRESULT ReadMakeModel();
};
