#pragma once
// The WMI calls and releases of the simulated process, in the order they happened, so that the
// calling and release order of a query, and the settings it asks for, can be seen from outside.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::sim {

void RecordWmiEvent(std::wstring event);
// Records a call with the numbers it was given, in decimal: "CoSetProxyBlanket 10 0 3 3 0".
void RecordWmiCall(std::wstring_view call, std::initializer_list<std::int64_t> arguments);
// The events since the last call, oldest first; the journal starts empty again.
[[nodiscard]] std::vector<std::wstring> TakeWmiJournal();

}  // namespace winapi::sim
