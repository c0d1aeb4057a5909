#pragma once
// The check sections of docs/checks.md, written from the check catalogue: an area heading before
// each area's first check, then per check its summary and facts. Where the example and its outcome
// table go, a section holds one placeholder line (ExamplePlaceholder); tools/check-reference.py
// fills it from the committed reference and from runs on the example machines.

#include "framework/CheckCatalogue.h"

#include <string>
#include <string_view>

// The placeholder line's start; the input name and " -->" follow.
inline constexpr std::string_view ExamplePlaceholder = "<!-- example of ";

// The facts of one check as a Markdown section (UTF-8), from its heading to its placeholder.
[[nodiscard]] std::string CheckSection(const CheckEntry& entry);

// Every area heading and check section, in reference order.
[[nodiscard]] std::string CheckSections();
