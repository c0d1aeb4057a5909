#include "checks/identity/BlacklistBiosTest.h"

#include <algorithm>

BlacklistBiosTest::BlacklistBiosTest(const std::vector<std::wstring>& list) : BiosTest(list), parameters(list) {}

bool BlacklistBiosTest::Run()
{
    const std::wstring version = GetBiosVersion();
    // Recorded for the results document; only the version is compared.
    GetBiosDate();
    const bool listed = std::ranges::find(parameters, version) != parameters.end();
    if (!SetPassed(!listed)) {
        AddSolution(L"");
    }
    return GetPassed();
}
