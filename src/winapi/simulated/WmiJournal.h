#pragma once
// The WMI calls and releases of the simulated process, in the order they happened, so that the
// calling and release order of a query can be seen from outside.

#include <string>
#include <vector>

namespace winapi::sim {

void RecordWmiEvent(std::wstring event);
// The events since the last call, oldest first; the journal starts empty again.
[[nodiscard]] std::vector<std::wstring> TakeWmiJournal();

}  // namespace winapi::sim
