#include "capture/CapturedFaults.h"

#include <algorithm>

CapturedFaults::CapturedFaults(CaptureLog& log, std::wstring object) : log_(log), object_(std::move(object)) {}

void CapturedFaults::Add(std::wstring_view call, std::uint32_t error)
{
    const bool known =
        std::any_of(faults_.begin(), faults_.end(), [&](const auto& fault) { return fault.first == call; });
    if (!known) {
        faults_.emplace_back(call, error);
        log_.ObjectFault(object_, std::wstring(call), error);
    }
}

void CapturedFaults::WriteMember(JsonWriter& writer) const
{
    if (faults_.empty()) {
        return;
    }
    writer.Key("faults");
    writer.BeginInlineObject();
    for (const auto& [call, error] : faults_) {
        writer.WideKey(call);
        writer.String(CaptureLog::ErrorText(error));
    }
    writer.EndObject();
}
