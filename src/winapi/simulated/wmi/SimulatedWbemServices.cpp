#include "winapi/simulated/wmi/SimulatedWbemServices.h"

#include "winapi/simulated/wmi/SimulatedEnumWbemClassObject.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/wmi/WmiJournal.h"
#include "winapi/simulated/wmi/WqlQuery.h"

namespace winapi::sim {

namespace {

constexpr std::wstring_view QueryLanguage = L"WQL";
constexpr std::wstring_view DeviceIdProperty = L"DeviceID";

// WQL compares strings without regard to letter case.
// The calls that fail for this query: the class's, and those of the one device it asks for,
// which take their place where both name a call.
ObjectFaults QueryFaults(const WmiClass& wmiClass, const WqlQuery& query)
{
    ObjectFaults faults = wmiClass.faults;
    if (query.where && EqualIgnoringCase(query.where->property, DeviceIdProperty)) {
        if (const auto device = wmiClass.deviceQueryFaults.find(query.where->value);
            device != wmiClass.deviceQueryFaults.end()) {
            for (const auto& [call, error] : device->second) {
                faults[call] = error;
            }
        }
    }
    return faults;
}

bool Matches(const WmiInstance& instance, const WqlQuery::Condition& condition)
{
    const auto found = instance.properties.find(condition.property);
    std::wstring text;
    return found != instance.properties.end() && SUCCEEDED(found->second.GetString(text)) &&
           EqualIgnoringCase(text, condition.value);
}

}  // namespace

SimulatedWbemServices::~SimulatedWbemServices()
{
    RecordWmiEvent(L"Release IWbemServices");
}

HRESULT SimulatedWbemServices::ExecQuery(const std::wstring& queryLanguage, const std::wstring& query, LONG flags,
                                         std::unique_ptr<EnumWbemClassObject>& enumerator)
{
    RecordWmiEvent(L"ExecQuery " + queryLanguage + L" " + std::to_wstring(flags) + L" " + query);
    if (const auto error = CurrentMachine().TakeFault(L"ExecQuery")) {
        return static_cast<HRESULT>(*error);
    }
    if (!EqualIgnoringCase(queryLanguage, QueryLanguage)) {
        return WBEM_E_INVALID_QUERY_TYPE;
    }
    WqlQuery parsed;
    if (const HRESULT hr = ParseWqlQuery(query, parsed); FAILED(hr)) {
        return hr;
    }
    const auto& classes = CurrentMachine().wmiClasses;
    const auto found = classes.find(parsed.className);
    if (found == classes.end()) {
        return WBEM_E_INVALID_CLASS;
    }
    const WmiClass& wmiClass = found->second;
    ObjectFaults faults = QueryFaults(wmiClass, parsed);
    if (const auto error = ObjectFault(faults, L"ExecQuery")) {
        return static_cast<HRESULT>(*error);
    }
    if (parsed.where && wmiClass.properties.count(parsed.where->property) == 0) {
        return WBEM_E_INVALID_QUERY;
    }
    std::vector<WmiInstance> matching;
    for (const WmiInstance& instance : wmiClass.instances) {
        if (!parsed.where || Matches(instance, *parsed.where)) {
            matching.push_back(instance);
        }
    }
    enumerator = std::make_unique<SimulatedEnumWbemClassObject>(wmiClass, std::move(matching), std::move(faults));
    return S_OK;
}

}  // namespace winapi::sim
