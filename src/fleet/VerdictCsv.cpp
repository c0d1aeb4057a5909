#include "fleet/VerdictCsv.h"

#include "winapi/Utf8.h"

#include <string_view>
#include <vector>

namespace fleet {

namespace {

constexpr const char* LineEnd = "\r\n";
constexpr const char* Heading[] = {"machine", "check", "verdict", "reason", "more_info", "solution"};
constexpr const char* BeforeHeading = "before";
constexpr std::string_view FormulaStarts = "=+-@\t\r";
constexpr char FormulaGuard = '\'';

std::string JoinLines(const std::vector<std::wstring>& lines)
{
    // By position, not by what was joined so far: an empty first line (a value that could not be
    // read) must stay a line of its own.
    std::string joined;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (index > 0) {
            joined += '\n';
        }
        joined += winapi::ToUtf8(lines[index]);
    }
    return joined;
}

}  // namespace

std::string CsvRow(const std::vector<std::string>& cells)
{
    std::string row;
    for (const std::string& cell : cells) {
        if (!row.empty()) {
            row += ',';
        }
        row += CsvCell(cell);
    }
    return row + LineEnd;
}

std::string CsvCell(const std::string& text)
{
    std::string cell = "\"";
    if (!text.empty() && FormulaStarts.find(text.front()) != std::string_view::npos) {
        cell += FormulaGuard;
    }
    for (const char c : text) {
        cell += c;
        if (c == '"') {
            cell += '"';
        }
    }
    return cell + '"';
}

std::string FormatVerdictCsv(const VerdictGrid& grid)
{
    return VerdictCsvHeading(grid.ComparesRuns()) + FormatVerdictCsvRows(grid);
}

std::string VerdictCsvHeading(bool compares)
{
    std::vector<std::string> heading(std::begin(Heading), std::end(Heading));
    if (compares) {
        heading.emplace_back(BeforeHeading);
    }
    return CsvRow(heading);
}

std::string FormatVerdictCsvRows(const VerdictGrid& grid)
{
    std::string text;
    const auto addRow = [&](std::vector<std::string> cells, const std::string& before) {
        if (grid.ComparesRuns()) {
            cells.push_back(before);
        }
        text += CsvRow(cells);
    };
    for (const GridRow& row : grid.Rows()) {
        if (!row.problem.empty()) {
            addRow({row.machine, "", NoVerdictsWord, row.problem, "", ""}, row.problemBefore);
            continue;
        }
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
            const GridCell& cell = row.cells[column];
            const std::string& check = grid.Columns()[column].label;
            if (cell.verdict) {
                addRow({row.machine, check, StateWord(StateOf(*cell.verdict)), cell.verdict->reason,
                        JoinLines(cell.verdict->moreInfo), JoinLines(cell.verdict->solutions)},
                       cell.before);
            } else if (!cell.before.empty()) {
                addRow({row.machine, check, AbsentWord, "", "", ""}, cell.before);
            }
        }
    }
    return text;
}

}  // namespace fleet
