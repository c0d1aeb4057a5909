#pragma once
// Reads an input document as the program reads it and reports what would make the run differ
// from what its author meant. COM must be initialised on the thread.

#include "lint/LintFinding.h"

#include <string>
#include <vector>

// languages: those whose descriptive texts every test must have.
[[nodiscard]] std::vector<LintFinding> LintInputDocument(const std::wstring& path,
                                                         const std::vector<std::wstring>& languages);

// The known name closest to name (letter case ignored), for "did you mean".
[[nodiscard]] std::wstring NearestCheckName(const std::wstring& name);
