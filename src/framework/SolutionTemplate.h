#pragma once
// The rule by which a check's solution template takes the value the check passes it: shared by
// the checks' record (Test) and the linter, so that what the linter says of a template is what
// the run will do with it.

#include <string>
#include <string_view>

// The conversions a check names when it passes a value to its solution template.
inline constexpr std::wstring_view TextConversion = L"%wS";
inline constexpr std::wstring_view NumberConversion = L"%d";

// The template as the formatter sees it: a C string, ending at its first null character.
[[nodiscard]] std::wstring SolutionTemplateOf(const std::wstring& descriptiveSolution);

// Whether a solution line is made from solutionTemplate when the check passes a value of the
// kind conversion names ("%wS" or "%d"): not for an empty template, another conversion, a
// template with more than one "%", or one "%" that is not the named conversion.
[[nodiscard]] bool TemplateTakesValue(std::wstring_view solutionTemplate, std::wstring_view conversion);
