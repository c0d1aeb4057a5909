#include "framework/TestRegistry.h"

#include "framework/CheckCatalogue.h"
#include "framework/TraceLog.h"
#include "platform/Console.h"

#include <string_view>

namespace {

constexpr std::string_view AllocatingMessage = "[TARNWICK] Attempting to allocate a test with name %wS\n";
constexpr std::string_view NoMatchMessage = "[TARNWICK] Couldn't find a matching Test\n";

}  // namespace

std::unique_ptr<Test> CreateTest(const std::wstring& name, const std::vector<std::wstring>& parameters)
{
    ConsolePrintf("%wS\n", name);
    TraceLog(AllocatingMessage, name);
    if (const CheckEntry* entry = FindCheck(name)) {
        return entry->create(parameters);
    }
    TraceLog(NoMatchMessage);
    return nullptr;
}

std::vector<std::wstring_view> RegisteredTestNames()
{
    std::vector<std::wstring_view> names;
    for (const CheckEntry* entry : CheckCompareOrder()) {
        names.push_back(entry->inputName);
    }
    return names;
}

void ResetTestSettings()
{
    for (const CheckEntry& entry : CheckCatalogue()) {
        if (entry.megabytes) {
            *entry.megabytes->setting = entry.megabytes->initial;
        }
    }
}
