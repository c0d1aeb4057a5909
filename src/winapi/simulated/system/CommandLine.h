#pragma once
// The process command line of the simulated build: the arguments it was started with, joined
// the way Windows programs quote them, so that splitting it gives them back unchanged.

#include <string>
#include <vector>

namespace winapi::sim {

[[nodiscard]] std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments);
void SetProcessCommandLine(std::wstring commandLine);
[[nodiscard]] const std::wstring& ProcessCommandLine();

}  // namespace winapi::sim
