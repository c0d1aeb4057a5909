#pragma once

#include <string>
#include <vector>

// The update mode: copies a recorded hardware identity from a results document into an input
// document. Returns the exit code.
int RunUpdateMode(const std::vector<std::wstring>& arguments);
