#include "checks/identity/BlacklistProcessorTest.h"

#include "checks/identity/HardwareIdentityMatch.h"

BlacklistProcessorTest::BlacklistProcessorTest(const std::vector<std::wstring>& list) : Test(list), parameters(list) {}

bool BlacklistProcessorTest::Run()
{
    bool found = false;
    if (winapi::FAILED(MatchProcessor(*this, parameters, found))) {
        return SetPassed(true);
    }
    return SetPassed(!found);
}
