#pragma once
// One thing the linter found in an input document.

#include <string>

enum class LintSeverity { Error, Warning };

struct LintFinding {
    LintSeverity severity;
    // The test element's place among the document's tests, from 1; 0 for the document itself.
    int test = 0;
    // The name as written in that test element.
    std::wstring testName;
    // Where the reader stopped, from 1; 0 when it cannot say.
    long line = 0;
    long column = 0;
    std::wstring text;
};
