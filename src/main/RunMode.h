#pragma once

#include <string>
#include <vector>

// The run mode: parses the arguments (the program path first), runs the input document's tests
// and writes their results. Returns the exit code, 0 or 1.
int RunModeMain(const std::vector<std::wstring>& arguments);
