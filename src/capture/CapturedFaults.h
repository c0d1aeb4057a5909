#pragma once
// The calls that failed on one object of the machine (a drive, a volume, a disk interface, a
// registry key or value, a WMI query) while it was captured. They go into that object's own
// "faults" member, so that a replay fails them there and nowhere else.

#include "capture/CaptureLog.h"
#include "capture/JsonWriter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CapturedFaults {
public:
    // object names the object in the capture's summary, e.g. "volume \\?\Volume{...}\".
    CapturedFaults(CaptureLog& log, std::wstring object);

    // The first error of each call is kept: the replay gives it every time.
    void Add(std::wstring_view call, std::uint32_t error);
    [[nodiscard]] bool Empty() const { return faults_.empty(); }
    // The "faults" member, when some call failed.
    void WriteMember(JsonWriter& writer) const;

private:
    CaptureLog& log_;
    std::wstring object_;
    std::vector<std::pair<std::wstring, std::uint32_t>> faults_;
};
