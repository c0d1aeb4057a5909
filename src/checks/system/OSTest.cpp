#include "checks/system/OSTest.h"

#include "platform/OsDescription.h"

#include <algorithm>

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
        allowed = IsAllowedSystem(description, parameters);
    }
    AddSolution(L"%wS", description);
    return SetPassed(allowed);
}

bool IsAllowedSystem(std::wstring_view description, const std::vector<std::wstring>& allowed)
{
    return std::ranges::any_of(
        allowed, [&](const std::wstring& name) { return description.find(name) != std::wstring_view::npos; });
}
