#include "fleet/FailureLines.h"

#include "framework/CheckCatalogue.h"
#include "winapi/Utf8.h"

#include <algorithm>
#include <span>

namespace fleet {

namespace {

constexpr std::wstring_view ValueMark = L"{}";
constexpr std::string_view Trailing = " \t\r\n";
constexpr const char* ReasonSeparator = ", ";
// An empty line says something (the value could not be read, or is blank): it shows as this.
constexpr const char* EmptyValue = "(empty)";

// The check's labels and failure words, from its catalogue row; a check the catalogue does not
// know has none.
const CheckEntry* RowOf(std::wstring_view resultName)
{
    return FindCheckByResultName(resultName);
}

// The label of the line at index; the last label holds for every further line, and a check
// without labels shows its lines as they stand, shared between machines.
MoreInfoLabel LabelOf(const CheckEntry* row, std::size_t index)
{
    if (row == nullptr) {
        return {};
    }
    const std::span<const MoreInfoLabel> labels = MoreInfoLabels(*row);
    return labels.empty() ? MoreInfoLabel{} : labels[std::min(index, labels.size() - 1)];
}

std::string Labelled(const MoreInfoLabel& label, const std::wstring& line)
{
    std::string text = winapi::ToUtf8(line);
    text.erase(text.find_last_not_of(Trailing) + 1);
    if (text.empty()) {
        text = EmptyValue;
    }
    if (label.label.empty()) {
        return text;
    }
    std::wstring labelled(label.label);
    const std::size_t mark = labelled.find(ValueMark);
    return winapi::ToUtf8(labelled.substr(0, mark)) + text + winapi::ToUtf8(labelled.substr(mark + ValueMark.size()));
}

}  // namespace

std::string LabelledLine(std::wstring_view resultName, std::size_t index, const std::wstring& line)
{
    return Labelled(LabelOf(RowOf(resultName), index), line);
}

std::vector<std::string> LineLabels(std::wstring_view resultName)
{
    std::vector<std::string> labels;
    if (const CheckEntry* row = RowOf(resultName); row != nullptr) {
        for (const MoreInfoLabel& label : MoreInfoLabels(*row)) {
            labels.push_back(winapi::ToUtf8(label.label));
        }
    }
    return labels;
}

std::string GroupingReason(const Verdict& verdict)
{
    if (!verdict.reason.empty()) {
        return verdict.reason;
    }
    if (verdict.moreInfo.empty()) {
        return NoLinesReason;
    }
    const CheckEntry* row = RowOf(verdict.check);
    std::string reason;
    for (std::size_t index = 0; index < verdict.moreInfo.size(); ++index) {
        const MoreInfoLabel label = LabelOf(row, index);
        if (!label.oneMachine) {
            reason += (reason.empty() ? "" : ReasonSeparator) + Labelled(label, verdict.moreInfo[index]);
        }
    }
    if (!reason.empty()) {
        return reason;
    }
    return row != nullptr && !row->failureWords.empty() ? winapi::ToUtf8(row->failureWords) : NoLinesReason;
}

}  // namespace fleet
