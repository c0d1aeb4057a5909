#pragma once
// The one-parameter rule of the checks that take a size in megabytes.

#include <string>
#include <vector>

// With exactly one parameter whose value (as _wtoi reads it) is at least 1 and not the value
// _wtoi gives on overflow, stores it in setting; otherwise leaves setting as it was.
void ApplySizeParameter(const std::vector<std::wstring>& parameters, int& setting);
