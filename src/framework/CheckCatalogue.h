#pragma once
// What every check of the registry asks of an input document and does on a machine, in one
// table: the linter reads its rules from here and the reference (docs/checks.md) is tested
// against it. Where a check reads its parameters through a function, the entry names that same
// function, so the table cannot say one thing while the check does another.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The order in which an administrator meets the checks, and the reference lists them.
enum class CheckArea { IdentityLists, DisksAndVolumes, System, Software, Devices };

enum class ParameterRule {
    // Parameters are read by no one: the check ignores any it is given.
    None,
    // Exactly one, a number of megabytes, read by MegabyteSetting::read into a setting shared by
    // every instance of the class for the rest of the run.
    Megabytes,
    // Any number; the machine's string must equal one entry whole, code unit for code unit.
    WholeStringList,
    // Any number; an entry matches when it occurs anywhere in the machine's string.
    FragmentList,
};

// What the check passes to its solution template (descriptive_solution).
enum class SolutionValue {
    // The check never adds a solution line.
    Never,
    // The template is added as written; a "%" in it stays.
    Unchanged,
    // A text for one "%wS" in the template.
    Text,
    // A number for one "%d" in the template.
    Number,
};

using SettingReader = void (*)(const std::vector<std::wstring>& parameters, int& setting);

struct MegabyteSetting {
    // The class-wide setting the check's constructor writes, and its value when no document set it.
    int* setting;
    int initial;
    // The reading the check's constructor applies to its parameter list.
    SettingReader read;
};

struct CheckEntry {
    std::wstring_view inputName;
    // The name the results document carries (the class name).
    std::wstring_view resultName;
    CheckArea area;
    std::wstring_view summary;
    ParameterRule parameters;
    // Megabytes only.
    std::optional<MegabyteSetting> megabytes;
    // A list check without parameters works with this one entry instead (empty: with none).
    std::wstring_view defaultEntry;
    // What the parameters mean and what the check does without them.
    std::wstring_view parameterMeaning;
    std::wstring_view reads;
    std::wstring_view moreInfo;
    SolutionValue solution;
    // When the solution is added and what the template receives.
    std::wstring_view solutionWhen;
    // Where the check's rules stop at an old Windows release, and what to do about it; empty
    // when they hold on every release.
    std::wstring_view laterWindows;
};

// Every check the registry knows, grouped by CheckArea in reference order.
[[nodiscard]] std::span<const CheckEntry> CheckCatalogue();

// The entry whose input name equals name as the registry compares names (letter case ignored);
// null when the registry knows no such name.
[[nodiscard]] const CheckEntry* FindCheck(std::wstring_view name);

// The entry whose result name equals name whole and exactly; null when there is none.
[[nodiscard]] const CheckEntry* FindCheckByResultName(std::wstring_view name);

// For a Megabytes check: the value its constructor stores from this parameter list, or nothing
// when the list leaves the setting as it was.
[[nodiscard]] std::optional<int> MegabytesRead(const CheckEntry& entry, const std::vector<std::wstring>& parameters);

[[nodiscard]] std::wstring_view AreaTitle(CheckArea area);
