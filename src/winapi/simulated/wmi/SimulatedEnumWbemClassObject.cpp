#include "winapi/simulated/wmi/SimulatedEnumWbemClassObject.h"

#include "winapi/simulated/wmi/SimulatedWbemClassObject.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <utility>

namespace winapi::sim {

SimulatedEnumWbemClassObject::SimulatedEnumWbemClassObject(const WmiClass& wmiClass,
                                                           std::vector<WmiInstance> instances)
    : class_{wmiClass.name, wmiClass.properties, std::move(instances)}
{
}

SimulatedEnumWbemClassObject::~SimulatedEnumWbemClassObject()
{
    RecordWmiEvent(L"Release IEnumWbemClassObject");
}

HRESULT SimulatedEnumWbemClassObject::Next(LONG timeout, std::unique_ptr<WbemClassObject>& object, ULONG& returned)
{
    RecordWmiCall(L"Next", {timeout});
    if (const auto error = CurrentMachine().TakeFault(L"Next")) {
        return static_cast<HRESULT>(*error);
    }
    if (next_ == class_.instances.size()) {
        returned = 0;
        return WBEM_S_FALSE;
    }
    object = std::make_unique<SimulatedWbemClassObject>(class_, class_.instances[next_++]);
    returned = 1;
    return S_OK;
}

}  // namespace winapi::sim
