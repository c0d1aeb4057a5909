#include "capture/CaptureLog.h"

#include "winapi/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// Errors as Windows documents them: Win32 codes and HRESULTs alike in eight hexadecimal digits.
std::string HexError(std::uint32_t error)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "0x%08x", static_cast<unsigned>(error));
    return text.data();
}

}  // namespace

void CaptureLog::Fault(const std::wstring& call, std::uint32_t error)
{
    const bool known =
        std::any_of(faults_.begin(), faults_.end(), [&](const auto& fault) { return fault.first == call; });
    if (!known) {
        faults_.emplace_back(call, error);
    }
}

void CaptureLog::ObjectFault(const std::wstring& object, const std::wstring& call, std::uint32_t error)
{
    objectFaults_.push_back("failed on this machine: " + winapi::ToUtf8(call) + " on " + winapi::ToUtf8(object) +
                            ", error " + HexError(error));
}

std::wstring CaptureLog::ErrorText(std::uint32_t error)
{
    return winapi::FromUtf8(HexError(error));
}

void CaptureLog::Count(const std::string& kind, std::size_t added)
{
    const auto found =
        std::find_if(counts_.begin(), counts_.end(), [&](const auto& count) { return count.first == kind; });
    if (found == counts_.end()) {
        counts_.emplace_back(kind, added);
    } else {
        found->second += added;
    }
}

void CaptureLog::WriteFaults(JsonWriter& writer) const
{
    writer.BeginArray();
    for (const auto& [call, error] : faults_) {
        writer.BeginInlineObject();
        writer.Key("call");
        writer.String(call);
        writer.Key("error");
        writer.String(ErrorText(error));
        writer.EndObject();
    }
    writer.EndArray();
}

std::vector<std::string> CaptureLog::SummaryLines() const
{
    std::vector<std::string> lines;
    for (const auto& [kind, count] : counts_) {
        lines.push_back(std::to_string(count) + " " + kind);
    }
    for (const auto& [call, error] : faults_) {
        lines.push_back("failed on this machine: " + winapi::ToUtf8(call) + ", error " + HexError(error));
    }
    lines.insert(lines.end(), objectFaults_.begin(), objectFaults_.end());
    return lines;
}
