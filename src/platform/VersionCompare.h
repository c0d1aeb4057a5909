#pragma once
// Comparison of dotted version strings such as "2.0.50727.42", as the file version check makes
// it: decimal components compared one by one, the shorter string padded with ".0".

#include <string>

// Negative, zero or positive as a is lower than, equal to or higher than b. Each string is cut
// before its first character that is neither a digit nor "." ("2.0.7.42 (RTM)" counts as
// "2.0.7.42", "v2.0" as ""), then the one with fewer dots gets ".0" for each missing one.
[[nodiscard]] int CompareVersionStrings(std::wstring a, std::wstring b);

// Compares two versions with the same number of dots: the difference (a's minus b's) of the
// first pair of components that differ, or 0. Components are read as _wtoi reads them, so an
// empty one is 0.
[[nodiscard]] int CompareVersionNumbers(const std::wstring& a, const std::wstring& b);
