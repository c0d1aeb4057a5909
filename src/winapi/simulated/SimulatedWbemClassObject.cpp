#include "winapi/simulated/SimulatedWbemClassObject.h"

#include "winapi/simulated/WmiJournal.h"

#include <utility>

namespace winapi::sim {

namespace {

// The system property that every WMI object has and the profile need not list.
constexpr std::wstring_view ClassProperty = L"__CLASS";

}  // namespace

SimulatedWbemClassObject::SimulatedWbemClassObject(const WmiClass& wmiClass, WmiInstance instance)
    : className_(wmiClass.name), classProperties_(wmiClass.properties), instance_(std::move(instance))
{
}

SimulatedWbemClassObject::~SimulatedWbemClassObject()
{
    RecordWmiEvent(L"Release IWbemClassObject");
}

HRESULT SimulatedWbemClassObject::Get(const std::wstring& name, LONG flags, Variant& value)
{
    RecordWmiEvent(L"Get " + name);
    if (const auto error = CurrentMachine().TakeFault(L"Get")) {
        return static_cast<HRESULT>(*error);
    }
    if (flags != 0) {
        return WBEM_E_INVALID_PARAMETER;
    }
    if (EqualIgnoringCase(name, ClassProperty)) {
        value = Variant::String(className_);
        return S_OK;
    }
    const auto found = instance_.properties.find(name);
    if (found != instance_.properties.end()) {
        value = found->second;
        return S_OK;
    }
    if (classProperties_.count(name) != 0) {
        value = Variant::Null();
        return S_OK;
    }
    return WBEM_E_NOT_FOUND;
}

}  // namespace winapi::sim
