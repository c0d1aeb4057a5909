#pragma once

#include "framework/Test.h"

#include "winapi/WinTypes.h"

#include <string>
#include <vector>

// No Windows service's name may contain one of the parameters (letter case counts; a stopped
// service counts like a running one).
class BlacklistServiceTest : public Test {
public:
    explicit BlacklistServiceTest(const std::vector<std::wstring>& parameters);
    bool Run() override;

private:
    // Walks every service, printing each fragment compared, the name and the state; found tells
    // whether a name holds a fragment. Negative when COM or WMI cannot be used or the walk fails.
    [[nodiscard]] winapi::HRESULT FindBlacklistedService(bool& found);

    std::vector<std::wstring> parameters;
};
