#pragma once
// What a capture noted besides the machine itself: the calls that failed on the machine outside
// any one object, which become the profile's faults so that a replay fails the same way, those
// that failed on one object (which that object's own faults hold), and a count of what the
// profile holds, for the summary the capture prints.

#include "capture/JsonWriter.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CaptureLog {
public:
    // The first error of each call is kept: in a replay every later call fails with it too.
    void Fault(const std::wstring& call, std::uint32_t error);
    // A call that failed on one object, for the summary only.
    void ObjectFault(const std::wstring& object, const std::wstring& call, std::uint32_t error);
    // One more item of a kind ("registry values", "volumes", ...).
    void Count(const std::string& kind, std::size_t added = 1);

    [[nodiscard]] bool HasFaults() const { return !faults_.empty(); }
    // The "faults" member of the profile.
    void WriteFaults(JsonWriter& writer) const;
    // One line per kind, then one per fault, as the capture prints them.
    [[nodiscard]] std::vector<std::string> SummaryLines() const;
    // An error as a profile writes it: Win32 codes and HRESULTs alike in eight hexadecimal digits.
    [[nodiscard]] static std::wstring ErrorText(std::uint32_t error);

private:
    std::vector<std::pair<std::wstring, std::uint32_t>> faults_;
    std::vector<std::pair<std::string, std::size_t>> counts_;
    std::vector<std::string> objectFaults_;
};
