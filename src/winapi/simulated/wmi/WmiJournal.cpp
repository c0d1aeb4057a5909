#include "winapi/simulated/wmi/WmiJournal.h"

#include "winapi/simulated/ProcessReset.h"
#include <utility>

namespace winapi::sim {

namespace {

std::vector<std::wstring>& Journal()
{
    static std::vector<std::wstring> events;
    return events;
}

}  // namespace

void RecordWmiEvent(std::wstring event)
{
    Journal().push_back(std::move(event));
}

void RecordWmiCall(std::wstring_view call, std::initializer_list<std::int64_t> arguments)
{
    std::wstring event(call);
    for (const std::int64_t argument : arguments) {
        event += L' ';
        event += std::to_wstring(argument);
    }
    RecordWmiEvent(std::move(event));
}

std::vector<std::wstring> TakeWmiJournal()
{
    return std::exchange(Journal(), {});
}

void ResetWmiJournal()
{
    Journal().clear();
}

}  // namespace winapi::sim
