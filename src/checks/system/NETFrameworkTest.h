#pragma once

#include "framework/Test.h"

#include "winapi/WinTypes.h"

#include <string>

// A .NET Framework of version 2 or later must be installed: some framework folder under the
// registered install root must hold a "mscorlib.dll" of at least that version.
class NETFrameworkTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    bool HasFrameworkVersion(const std::wstring& requiredVersion);
    bool CheckInstallRoot(winapi::HKEY frameworkKey, const std::wstring& requiredVersion);
    bool CheckFrameworkDirectories(const std::wstring& installRoot, const std::wstring& requiredVersion);
    bool CheckMscorlibVersion(const std::wstring& directory, const std::wstring& requiredVersion);
};
