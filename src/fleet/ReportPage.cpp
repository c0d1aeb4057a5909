#include "fleet/ReportPage.h"

#include "winapi/Utf8.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fleet {

namespace {

constexpr std::string_view PageTemplate =
#include "ReportPageTemplate.inc"
    ;
#include "ReportPageDigests.inc"

constexpr char Placeholder = '@';
constexpr std::string_view Base64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A Content-Security-Policy names a digest in base64; CMake gives it in hexadecimal.
std::string Base64FromHex(std::string_view hex)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t group = (std::uint32_t{bytes[i]} << 16) |
                                    (i + 1 < bytes.size() ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                    (i + 2 < bytes.size() ? std::uint32_t{bytes[i + 2]} : 0);
        for (std::size_t sextet = 0; sextet < 4; ++sextet) {
            text += i + sextet <= bytes.size() ? Base64Alphabet[(group >> (18 - 6 * sextet)) & 0x3F] : '=';
        }
    }
    return text;
}

nlohmann::json Lines(const std::vector<std::wstring>& lines)
{
    nlohmann::json array = nlohmann::json::array();
    for (const std::wstring& line : lines) {
        array.push_back(winapi::ToUtf8(line));
    }
    return array;
}

nlohmann::json PageData(const VerdictGrid& grid, const std::string& heading, const std::string& before)
{
    nlohmann::json checks = nlohmann::json::array();
    for (const GridColumn& column : grid.Columns()) {
        checks.push_back({{"label", column.label}, {"passed", column.passed}, {"failed", column.failed}});
    }
    nlohmann::json machines = nlohmann::json::array();
    for (const GridRow& row : grid.Rows()) {
        nlohmann::json cells = nlohmann::json::array();
        for (const GridCell& cell : row.cells) {
            if (!cell.verdict) {
                cells.push_back(nullptr);
                continue;
            }
            cells.push_back({{"passed", cell.verdict->passed},
                             {"name", winapi::ToUtf8(cell.verdict->descriptiveName)},
                             {"info", Lines(cell.verdict->moreInfo)},
                             {"solution", Lines(cell.verdict->solutions)},
                             {"before", cell.before}});
        }
        machines.push_back({{"name", row.machine},
                            {"problem", row.problem},
                            {"problemBefore", row.problemBefore},
                            {"cells", std::move(cells)}});
    }
    return {{"heading", heading},
            {"compares", grid.ComparesRuns()},
            {"before", before},
            {"checks", std::move(checks)},
            {"machines", std::move(machines)}};
}

// JSON whose text can stand inside a script element: no "<" can end the element or open a
// comment, whatever the strings hold. Invalid UTF-8 in a name becomes U+FFFD.
std::string ScriptSafeJson(const nlohmann::json& data)
{
    const std::string json = data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string safe;
    safe.reserve(json.size());
    for (const char c : json) {
        switch (c) {
        case '<': safe += "\\u003c"; break;
        case '>': safe += "\\u003e"; break;
        case '&': safe += "\\u0026"; break;
        default: safe += c;
        }
    }
    return safe;
}

}  // namespace

std::string FormatReportPage(const VerdictGrid& grid, const std::string& heading, const std::string& before)
{
    const std::array<std::pair<std::string_view, std::string>, 3> values{{
        {"@STYLE_DIGEST@", Base64FromHex(StyleDigestHex)},
        {"@SCRIPT_DIGEST@", Base64FromHex(ScriptDigestHex)},
        {"@DATA@", ScriptSafeJson(PageData(grid, heading, before))},
    }};
    // One pass over the template, so that nothing a value holds is ever taken for a placeholder.
    std::string page;
    std::size_t done = 0;
    for (std::size_t at = PageTemplate.find(Placeholder); at != std::string_view::npos;
         at = PageTemplate.find(Placeholder, at + 1)) {
        for (const auto& [name, value] : values) {
            if (PageTemplate.substr(at, name.size()) == name) {
                page += PageTemplate.substr(done, at - done);
                page += value;
                done = at + name.size();
                at = done - 1;
                break;
            }
        }
    }
    page += PageTemplate.substr(done);
    return page;
}

}  // namespace fleet
