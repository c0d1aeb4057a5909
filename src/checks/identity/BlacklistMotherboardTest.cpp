#include "checks/identity/BlacklistMotherboardTest.h"

#include "checks/identity/HardwareIdentityMatch.h"

BlacklistMotherboardTest::BlacklistMotherboardTest(const std::vector<std::wstring>& list) : Test(list), parameters(list)
{
}

bool BlacklistMotherboardTest::Run()
{
    bool found = false;
    if (winapi::FAILED(MatchMotherboard(*this, parameters, found))) {
        return SetPassed(true);
    }
    if (!SetPassed(!found)) {
        AddSolution(L"");
    }
    return GetPassed();
}
