#pragma once
// Every fact about every check the registry knows, one row per check: the registry creates its
// tests from these rows, the linter reads its rules from them, and the check sections of
// docs/checks.md are generated from them (tarnwick-reference). Where a check reads its parameters
// through a function, the row names that same function, so the table cannot say one thing while
// the check does another. Adding a fact about a check is one edit, in its row.

#include "framework/Test.h"

#include <array>
#include <cstddef>
#include <memory>
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

// Which way a check goes when it could not read what it decides on.
enum class UnreadOutcome { Passes, Fails };

// The more-info lines of a run that took an unread path.
enum class MoreInfoShape {
    // Every more-info line the check would write on a genuine run may also stand here: the
    // results document alone cannot tell this path apart.
    Any,
    // No more-info line at all.
    NoLine,
    // Exactly one more-info line, and it is empty.
    OneEmptyLine,
    // The first more-info line is empty (the lines after it may hold anything).
    FirstLineEmpty,
    // Exactly one more-info line, equal to the path's moreInfoText.
    OneLineEqual,
};

// The check's own console lines on an unread path. The program writes every name it reads at
// once, before any check runs, so a check's own lines can be told apart only where it ran alone;
// HasLine paths use lines that only this check writes, so that the whole run's console tells them.
enum class ConsoleShape {
    // Nothing on the console tells this path apart.
    Any,
    // A line starts with the path's consoleText (a line no genuine run of the check writes).
    HasLine,
    // The check wrote no console line at all (a genuine run always writes some).
    NoLine,
    // The check wrote exactly one line, the path's consoleText.
    OnlyLine,
};

struct UnreadPath {
    UnreadOutcome outcome = UnreadOutcome::Passes;
    // Why, in words an administrator understands: "the BIOS version could not be read".
    std::wstring_view reason = {};
    MoreInfoShape moreInfo = MoreInfoShape::Any;
    std::wstring_view moreInfoText = {};
    ConsoleShape console = ConsoleShape::Any;
    std::wstring_view consoleText = {};
};

// The most unread paths one check has.
constexpr std::size_t MaxUnreadPaths = 5;

// How the readiness report shows one more-info line of a failing or unverified verdict.
struct MoreInfoLabel {
    // What the line's value is, "{}" standing for the line's text: "needed {} MB".
    std::wstring_view label = {};
    // The text belongs to the one machine (a volume name, a path, a size): it stays out of the
    // reason that groups the machines whose failure says the same thing.
    bool oneMachine = false;
};

// The most more-info lines one check labels apart; the last label holds for every further line.
constexpr std::size_t MaxMoreInfoLabels = 2;

using TestFactory = std::unique_ptr<Test> (*)(const std::vector<std::wstring>& parameters);

struct CheckEntry {
    std::wstring_view inputName;
    // The name the results document carries (the class name, Test::GetName).
    std::wstring_view resultName;
    // Creates the check's class from the document's parameters.
    TestFactory create;
    // The registry compares the names it is asked for with the rows in this order (0 first); the
    // first equal one wins.
    int compareOrder;
    CheckArea area;
    std::wstring_view summary;
    ParameterRule parameters;
    // What one parameter counts ("megabytes"); empty for the lists and for checks without one.
    std::wstring_view unit = {};
    // Megabytes only: the default and how a value is read.
    std::optional<MegabyteSetting> megabytes = std::nullopt;
    // A list check without parameters works with this one entry instead (empty: with none).
    std::wstring_view defaultEntry = {};
    // What the parameters mean and what the check does without them.
    std::wstring_view parameterMeaning;
    std::wstring_view reads;
    std::wstring_view moreInfo;
    SolutionValue solution;
    // When the solution is added and what the template receives.
    std::wstring_view solutionWhen;
    // Where the check's rules stop at an old Windows release, and what to do about it; empty
    // when they hold on every release.
    std::wstring_view laterWindows = {};
    // Each way the check passes without having read what it decides on, or fails only because a
    // read failed; the unused places at the end have no reason (see UnreadPaths).
    std::array<UnreadPath, MaxUnreadPaths> unread = {};
    // The labels of the more-info lines in the order the check adds them, the last one given
    // holding for every further line (one per volume, per device); none: each line as it stands,
    // shared between machines (see MoreInfoLabels).
    std::array<MoreInfoLabel, MaxMoreInfoLabels> moreInfoLabels = {};
    // The failure in words, for the report's grouping when every line belongs to the one machine.
    std::wstring_view failureWords = {};
};

// The unread paths of a row, without the unused places.
[[nodiscard]] std::span<const UnreadPath> UnreadPaths(const CheckEntry& entry);

// The more-info labels of a row, without the unused places.
[[nodiscard]] std::span<const MoreInfoLabel> MoreInfoLabels(const CheckEntry& entry);

// Every check the registry knows, grouped by CheckArea in reference order.
[[nodiscard]] std::span<const CheckEntry> CheckCatalogue();

// The rows in the order the registry compares names with them (CheckEntry::compareOrder).
[[nodiscard]] std::span<const CheckEntry* const> CheckCompareOrder();

// The entry whose input name equals name as the registry compares names (letter case ignored,
// first equal in compare order); null when the registry knows no such name.
[[nodiscard]] const CheckEntry* FindCheck(std::wstring_view name);

// The entry whose result name equals name whole and exactly; null when there is none.
[[nodiscard]] const CheckEntry* FindCheckByResultName(std::wstring_view name);

// For a Megabytes check: the value its constructor stores from this parameter list, or nothing
// when the list leaves the setting as it was.
[[nodiscard]] std::optional<int> MegabytesRead(const CheckEntry& entry, const std::vector<std::wstring>& parameters);

[[nodiscard]] std::wstring_view AreaTitle(CheckArea area);
