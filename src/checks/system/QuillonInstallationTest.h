#pragma once

#include "framework/Test.h"

#include "winapi/WinTypes.h"

// Neither the product itself nor the maker's second product may be installed: neither product
// key may hold an install location.
class QuillonInstallationTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    bool IsTesselInstalled();
    bool IsQuillonInstalled();
    bool IsInstalled(const std::wstring& productKey);
    bool ReadInstallLocation(winapi::HKEY productKey);
};
