#include "checks/system/OSTest.h"

#include "platform/OsDescription.h"

OSTest::OSTest(const std::vector<std::wstring>& list) : Test(list), parameters(list)
{
    if (parameters.empty()) {
        parameters.emplace_back(DefaultAllowedSystem);
    }
}

bool OSTest::Run()
{
    std::wstring description;
    bool allowed = false;
    if (DescribeOperatingSystem(description)) {
        AddMoreInfo(L"%wS", description);
        // Every entry is tried: there is no early stop.
        for (const std::wstring& name : parameters) {
            if (description.find(name) != std::wstring::npos) {
                allowed = true;
            }
        }
    }
    AddSolution(L"%wS", description);
    return SetPassed(allowed);
}
