#pragma once
// How the more-info lines of a failing or unverified verdict read in the readiness report: each
// line with a label that says what its value is ("needed 4096 MB"), and the reason that groups
// machines whose verdict says the same thing. The pieces of a line that belong to one machine alone
// (volume names, paths, sizes) stay out of that reason, so that one cause is one group. The labels
// and which lines are one machine's own come from the check's catalogue row
// (framework/CheckCatalogue.h: moreInfoLabels, failureWords).

#include "fleet/MachineVerdicts.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fleet {

// The line at index (from 0) of a verdict of the check resultName, with its label where the
// check's lines have one; UTF-8, blanks at its end dropped.
[[nodiscard]] std::string LabelledLine(std::wstring_view resultName, std::size_t index, const std::wstring& line);

// The labels of the check's lines in order, "{}" standing for a line's text; the last holds for
// every further line. Empty where the check's lines have no labels.
[[nodiscard]] std::vector<std::string> LineLabels(std::wstring_view resultName);

// What the verdict says that other machines can say alike: its reason where it carries one,
// otherwise its labelled lines that are not one machine's own, joined by ", ". A verdict whose
// lines all belong to its machine gives the check's own words for the failure; one without lines
// gives NoLinesReason. UTF-8.
[[nodiscard]] std::string GroupingReason(const Verdict& verdict);

inline constexpr const char* NoLinesReason = "no more-info line";

}  // namespace fleet
