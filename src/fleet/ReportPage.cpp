#include "fleet/ReportPage.h"

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

std::size_t StateIndex(VerdictState state)
{
    return static_cast<std::size_t>(state);
}

std::size_t StatusIndex(MachineStatus status)
{
    return static_cast<std::size_t>(status);
}

nlohmann::json Words()
{
    nlohmann::json statuses = nlohmann::json::array();
    for (const MachineStatus status : MachineStatuses) {
        statuses.push_back(std::string(StatusWord(status)));
    }
    return statuses;
}

// A machine as a compact array, the page's largest part: [name, status, passes, scan time (seconds
// after the oldest, or null), verdicts or, for a machine without verdicts, its problem, and with
// two documents compared its status before]. A verdict is its group's index where its lines are
// the group's, otherwise [group, more-info, solution], its lines indexes into the page's texts.
nlohmann::json MachineData(const MachineRecord& machine, ScanTime oldest)
{
    nlohmann::json data = nlohmann::json::array(
        {machine.name, StatusIndex(machine.status), machine.passed,
         machine.scanTime == NoScanTime ? nlohmann::json(nullptr) : nlohmann::json(machine.scanTime - oldest)});
    if (machine.status == MachineStatus::NoVerdicts) {
        data.push_back(machine.problem);
    } else {
        nlohmann::json verdicts = nlohmann::json::array();
        for (const KeptVerdict& verdict : machine.verdicts) {
            if (verdict.ownLines) {
                verdicts.push_back({verdict.group, verdict.moreInfo, verdict.solutions});
            } else {
                verdicts.push_back(verdict.group);
            }
        }
        data.push_back(std::move(verdicts));
    }
    if (machine.before) {
        data.push_back(StatusIndex(*machine.before));
    }
    return data;
}

// The page's data without its machines, which are written one by one after it.
nlohmann::json SummaryData(const FleetReadiness& readiness, const std::string& heading, const std::string& before)
{
    nlohmann::json checks = nlohmann::json::array();
    for (std::size_t index = 0; index < readiness.Checks().size(); ++index) {
        const ReadinessCheck& check = readiness.Checks()[index];
        checks.push_back({{"title", readiness.CheckTitle(index)},
                          {"label", check.label},
                          {"lineLabels", check.lineLabels},
                          {"blocked", check.blocked},
                          {"unverified", check.unverified}});
    }
    nlohmann::json groups = nlohmann::json::array();
    nlohmann::json order = nlohmann::json::array();
    for (const ReasonGroup& group : readiness.Groups()) {
        // The page finds a group's machines from the machines' verdicts.
        groups.push_back({{"check", group.check},
                          {"state", StateIndex(group.state)},
                          {"reason", group.reason},
                          {"count", group.machines.size()},
                          {"before", group.before},
                          {"info", group.moreInfo},
                          {"solution", group.solutions}});
    }
    for (const std::size_t index : readiness.GroupsInOrder()) {
        order.push_back(index);
    }
    const auto scan = [](ScanTime time) { return time == NoScanTime ? nlohmann::json(nullptr) : nlohmann::json(time); };
    return {{"heading", heading},
            {"compares", readiness.Compares()},
            {"before", before},
            {"statuses", Words()},
            {"counts", readiness.Counts()},
            {"countsBefore", readiness.CountsBefore()},
            {"changes", readiness.StatusChanges()},
            {"oldestScan", scan(readiness.OldestScan())},
            {"newestScan", scan(readiness.NewestScan())},
            {"checks", std::move(checks)},
            {"groups", std::move(groups)},
            {"order", std::move(order)},
            {"texts", readiness.Texts()}};
}

// JSON whose text can stand inside a script element: no "<" can end the element or open a
// comment, whatever the strings hold. Invalid UTF-8 in a name becomes U+FFFD.
void AppendScriptSafe(const nlohmann::json& data, std::string& safe)
{
    const std::string json = data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    for (const char c : json) {
        switch (c) {
        case '<': safe += "\\u003c"; break;
        case '>': safe += "\\u003e"; break;
        case '&': safe += "\\u0026"; break;
        default: safe += c;
        }
    }
}

// The page's data: the summary, and the machines as one array written machine by machine, so
// that a fleet's machines never stand in memory as one JSON document.
std::string PageData(const FleetReadiness& readiness, const std::string& heading, const std::string& before)
{
    std::string data;
    AppendScriptSafe(SummaryData(readiness, heading, before), data);
    data.pop_back();
    data += ",\"machines\":[";
    for (const MachineRecord& machine : readiness.Machines()) {
        if (data.back() != '[') {
            data += ',';
        }
        AppendScriptSafe(MachineData(machine, readiness.OldestScan()), data);
    }
    data += "]}";
    return data;
}

}  // namespace

std::string FormatReportPage(const FleetReadiness& readiness, const std::string& heading, const std::string& before)
{
    const std::array<std::pair<std::string_view, std::string>, 3> values{{
        {"@STYLE_DIGEST@", Base64FromHex(StyleDigestHex)},
        {"@SCRIPT_DIGEST@", Base64FromHex(ScriptDigestHex)},
        {"@DATA@", PageData(readiness, heading, before)},
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
