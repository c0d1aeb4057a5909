#pragma once
// The names by which an input document asks for tests, and the classes they create.

#include "framework/Test.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Echoes the name on the console and traces it, then creates the test it names, letter case
// ignored. Null for a name without a test.
[[nodiscard]] std::unique_ptr<Test> CreateTest(const std::wstring& name, const std::vector<std::wstring>& parameters);

// The names CreateTest knows, in the order it compares them.
[[nodiscard]] std::vector<std::wstring_view> RegisteredTestNames();
