#include "reference/CheckReference.h"

#include "winapi/Utf8.h"

#include <optional>

namespace {

std::string Utf8(std::wstring_view text)
{
    return winapi::ToUtf8(text);
}

std::string_view SolutionReceives(SolutionValue value)
{
    switch (value) {
    case SolutionValue::Never: return "";
    case SolutionValue::Unchanged: return " Receives the template as written.";
    case SolutionValue::Text: return " Receives a text for one %wS.";
    case SolutionValue::Number: return " Receives a number for one %d.";
    }
    return "";
}

// Appends every piece to text: one append per piece, never a chain of temporary strings.
template <typename... Pieces>
void Append(std::string& text, const Pieces&... pieces)
{
    (text.append(pieces), ...);
}

// What the results document shows of the path; empty when it shows nothing of its own.
std::string MoreInfoEvidence(const UnreadPath& path)
{
    std::string shown;
    switch (path.moreInfo) {
    case MoreInfoShape::Any: break;
    case MoreInfoShape::NoLine: shown = "no more-info line"; break;
    case MoreInfoShape::OneEmptyLine: shown = "one empty more-info line"; break;
    case MoreInfoShape::FirstLineEmpty: shown = "an empty first more-info line"; break;
    case MoreInfoShape::OneLineEqual: Append(shown, "the one more-info line \"", Utf8(path.moreInfoText), "\""); break;
    }
    return shown;
}

// What the console shows of the path; empty when it shows nothing of its own.
std::string ConsoleEvidence(const UnreadPath& path)
{
    std::string console;
    switch (path.console) {
    case ConsoleShape::Any: break;
    case ConsoleShape::HasLine: Append(console, "the console line \"", Utf8(path.consoleText), "\""); break;
    case ConsoleShape::NoLine: console = "a console of a run of this check alone without a line of its own"; break;
    case ConsoleShape::OnlyLine:
        Append(console, "a console of a run of this check alone whose one line is \"", Utf8(path.consoleText), "\"");
        break;
    }
    return console;
}

// How a run that took the path shows it, as the reference tells an administrator.
std::string Evidence(const UnreadPath& path)
{
    const std::string shown = MoreInfoEvidence(path);
    const std::string console = ConsoleEvidence(path);
    std::string evidence;
    if (shown.empty() && console.empty()) {
        Append(evidence, "Nothing tells it from a genuine ", path.outcome == UnreadOutcome::Passes ? "pass." : "fail.");
    } else if (shown.empty()) {
        Append(evidence, "Only ", console, " shows it; the results document cannot.");
    } else if (console.empty()) {
        Append(evidence, "Shown by ", shown, ".");
    } else {
        Append(evidence, "Shown by ", shown, ", and on the console by ", console, ".");
    }
    return evidence;
}

// One list item per unread path, below the line that introduces them.
std::string UnreadPathItems(const CheckEntry& entry)
{
    const std::span<const UnreadPath> paths = UnreadPaths(entry);
    if (paths.empty()) {
        return " Every verdict rests on what it read.\n";
    }
    std::string items = "\n";
    for (const UnreadPath& path : paths) {
        Append(items, "  - ", path.outcome == UnreadOutcome::Passes ? "Passes" : "Fails", " when ", Utf8(path.reason),
               ". ", Evidence(path), "\n");
    }
    return items;
}

}  // namespace

// How tarnwick-fleet and tarnwick-report label the lines and group the machines that fail alike;
// empty for a check whose lines show as they stand.
std::string ReportLabels(const CheckEntry& entry)
{
    const std::span<const MoreInfoLabel> lines = MoreInfoLabels(entry);
    std::string labels;
    bool oneMachine = false;
    for (const MoreInfoLabel& label : lines) {
        Append(labels, labels.empty() ? (lines.size() == 1 ? "each line reads as " : "the lines read as ") : ", then ",
               "\"", Utf8(label.label), "\"");
        oneMachine = oneMachine || label.oneMachine;
    }
    if (labels.empty()) {
        return labels;
    }
    if (lines.size() > 1) {
        Append(labels, " (the last for every further line)");
    }
    if (oneMachine) {
        Append(labels, "; values that belong to one machine are left out when failures are grouped by reason");
        if (!entry.failureWords.empty()) {
            Append(labels, ", which then reads \"", Utf8(entry.failureWords), "\"");
        }
    }
    return labels + ".";
}

std::string CheckSection(const CheckEntry& entry)
{
    std::string section;
    Append(section, "### ", Utf8(entry.inputName), "\n\n", Utf8(entry.summary), "\n\n");
    if (entry.resultName != entry.inputName) {
        Append(section, "- **Result name:** ", Utf8(entry.resultName),
               " (the results document's name; an input document must use ", Utf8(entry.inputName), ")\n");
    }
    Append(section, "- **Parameters:** ", Utf8(entry.parameterMeaning), "\n");
    if (entry.megabytes && entry.megabytes->initial > 0) {
        Append(section, "- **Default:** ", std::to_string(entry.megabytes->initial), " ", Utf8(entry.unit), ".\n");
    }
    Append(section, "- **Reads:** ", Utf8(entry.reads), "\n");
    Append(section, "- **More info:** ", Utf8(entry.moreInfo), "\n");
    if (const std::string labels = ReportLabels(entry); !labels.empty()) {
        Append(section, "- **In the readiness report:** ", labels, "\n");
    }
    Append(section, "- **Solution:** ", Utf8(entry.solutionWhen), SolutionReceives(entry.solution), "\n");
    if (!entry.laterWindows.empty()) {
        Append(section, "- **Later Windows releases:** ", Utf8(entry.laterWindows), "\n");
    }
    Append(section, "- **When the machine cannot be read:**", UnreadPathItems(entry), "\n");
    Append(section, ExamplePlaceholder, Utf8(entry.inputName), " -->\n");
    return section;
}

std::string CheckSections()
{
    std::string sections;
    std::optional<CheckArea> area;
    for (const CheckEntry& entry : CheckCatalogue()) {
        if (area != entry.area) {
            area = entry.area;
            Append(sections, sections.empty() ? "" : "\n", "## ", Utf8(AreaTitle(entry.area)), "\n");
        }
        Append(sections, "\n", CheckSection(entry));
    }
    return sections;
}
