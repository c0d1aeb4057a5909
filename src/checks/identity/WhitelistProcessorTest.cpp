#include "checks/identity/WhitelistProcessorTest.h"

#include "checks/identity/HardwareIdentityMatch.h"

WhitelistProcessorTest::WhitelistProcessorTest(const std::vector<std::wstring>& list) : Test(list), parameters(list) {}

bool WhitelistProcessorTest::Run()
{
    bool found = false;
    if (winapi::FAILED(MatchProcessor(*this, parameters, found))) {
        return SetPassed(true);
    }
    return SetPassed(found);
}
