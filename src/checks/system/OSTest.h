#pragma once

#include "framework/Test.h"

#include <string_view>

// The running Windows must be one the document allows: its description must contain one of the
// parameters ("Windows XP" when there are none).
class OSTest : public Test {
public:
    explicit OSTest(const std::vector<std::wstring>& list);
    bool Run() override;

    // The one allowed system of a test without parameters.
    static constexpr std::wstring_view DefaultAllowedSystem = L"Windows XP";

private:
    std::vector<std::wstring> parameters;
};

// Whether the description names an allowed system: some entry of allowed occurs in it, letter
// case as it is (an empty entry occurs in every description).
[[nodiscard]] bool IsAllowedSystem(std::wstring_view description, const std::vector<std::wstring>& allowed);
