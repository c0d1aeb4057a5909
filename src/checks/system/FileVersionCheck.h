#pragma once
// Whether a file on the machine carries at least a required version. It lives beside the checks
// rather than in src/platform because it records the version it read in the calling check's
// result.

#include "framework/Test.h"

#include <string>

// True when the "FileVersion" string of the file's first translation compares at least equal to
// required (CompareVersionStrings). A version that was read is added to the test's more-info
// lines as "%wS\n"; a file without a version resource, a translation or that string gives false
// and no line.
[[nodiscard]] bool CheckFileVersion(Test& test, const std::wstring& required, const std::wstring& path);
