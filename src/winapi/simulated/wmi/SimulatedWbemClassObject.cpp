#include "winapi/simulated/wmi/SimulatedWbemClassObject.h"

#include "winapi/simulated/wmi/WmiJournal.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace winapi::sim {

namespace {

// The system property that every WMI object has and the profile need not list.
constexpr std::wstring_view ClassProperty = L"__CLASS";

// An integer array as the program's reader takes it from the SAFEARRAY that WMI hands out: a
// bound that cannot be read makes the whole array unreadable, an element that cannot be read is
// left out.
Variant ReadArray(const Variant& value)
{
    std::vector<std::int32_t> elements;
    if (FAILED(value.GetIntegerArray(elements))) {
        return value;
    }
    if (CurrentMachine().TakeFault(L"SafeArrayGetUBound")) {
        return Variant::Unreadable(value.Type());
    }
    std::vector<std::int32_t> readable;
    for (const std::int32_t element : elements) {
        if (!CurrentMachine().TakeFault(L"SafeArrayGetElement")) {
            readable.push_back(element);
        }
    }
    return Variant::IntegerArray(static_cast<VARTYPE>(value.Type() & ~VT_ARRAY), std::move(readable));
}

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
    if (const auto error = ObjectFault(instance_.propertyFaults, name)) {
        return static_cast<HRESULT>(*error);
    }
    const auto found = instance_.properties.find(name);
    if (found != instance_.properties.end()) {
        value = ReadArray(found->second);
        return S_OK;
    }
    if (classProperties_.count(name) != 0) {
        value = Variant::Null();
        return S_OK;
    }
    return WBEM_E_NOT_FOUND;
}

}  // namespace winapi::sim
