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

// How a run that took the path shows it, as the reference tells an administrator.
std::string Evidence(const UnreadPath& path)
{
    std::string shown;
    switch (path.moreInfo) {
    case MoreInfoShape::Any: break;
    case MoreInfoShape::NoLine: shown = "no more-info line"; break;
    case MoreInfoShape::OneEmptyLine: shown = "one empty more-info line"; break;
    case MoreInfoShape::FirstLineEmpty: shown = "an empty first more-info line"; break;
    case MoreInfoShape::OneLineEqual: Append(shown, "the one more-info line \"", Utf8(path.moreInfoText), "\""); break;
    case MoreInfoShape::SomeLineStarts: Append(shown, "a more-info line \"", Utf8(path.moreInfoText), "...\""); break;
    }
    std::string console;
    if (!path.consoleLine.empty()) {
        Append(console, "the console line \"", Utf8(path.consoleLine), "\"");
    }
    std::string evidence;
    if (shown.empty() && console.empty()) {
        Append(evidence, "nothing tells it from a genuine ", path.outcome == UnreadOutcome::Passes ? "pass" : "fail");
    } else if (shown.empty()) {
        Append(evidence, "only ", console, " tells it; the results document cannot");
    } else if (console.empty()) {
        Append(evidence, shown);
    } else {
        Append(evidence, shown, ", and ", console);
    }
    return evidence;
}

std::string UnreadLine(const CheckEntry& entry)
{
    const std::span<const UnreadPath> paths = UnreadPaths(entry);
    if (paths.empty()) {
        return "Every verdict rests on what it read.";
    }
    std::string line;
    for (const UnreadPath& path : paths) {
        if (!line.empty()) {
            line += ' ';
        }
        Append(line, path.outcome == UnreadOutcome::Passes ? "Passes" : "Fails", " when ", Utf8(path.reason),
               " (shown by ", Evidence(path), ").");
    }
    return line;
}

}  // namespace

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
    Append(section, "- **Solution:** ", Utf8(entry.solutionWhen), SolutionReceives(entry.solution), "\n");
    if (!entry.laterWindows.empty()) {
        Append(section, "- **Later Windows releases:** ", Utf8(entry.laterWindows), "\n");
    }
    Append(section, "- **When the machine cannot be read:** ", UnreadLine(entry), "\n\n");
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
