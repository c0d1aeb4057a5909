#include "checks/identity/WhitelistMotherboardTest.h"

#include "checks/identity/HardwareIdentityMatch.h"

WhitelistMotherboardTest::WhitelistMotherboardTest(const std::vector<std::wstring>& list) : Test(list), parameters(list)
{
}

bool WhitelistMotherboardTest::Run()
{
    bool found = false;
    if (winapi::FAILED(MatchMotherboard(*this, parameters, found))) {
        return SetPassed(true);
    }
    if (!SetPassed(found)) {
        AddSolution(L"");
    }
    return GetPassed();
}
