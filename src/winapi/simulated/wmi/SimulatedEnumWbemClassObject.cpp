#include "winapi/simulated/wmi/SimulatedEnumWbemClassObject.h"

#include "winapi/simulated/wmi/SimulatedWbemClassObject.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <utility>

namespace winapi::sim {

SimulatedEnumWbemClassObject::SimulatedEnumWbemClassObject(const WmiClass& wmiClass, std::vector<WmiInstance> instances,
                                                           ObjectFaults faults)
    : class_{wmiClass.name, wmiClass.properties, std::move(instances), std::move(faults), {}}
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
        // A query that the machine answered with an error partway (or, as a class it cannot
        // serve, at once) gives it after the instances it did hand out.
        if (const auto error = ObjectFault(class_.faults, L"Next")) {
            return static_cast<HRESULT>(*error);
        }
        return WBEM_S_FALSE;
    }
    object = std::make_unique<SimulatedWbemClassObject>(class_, class_.instances[next_++]);
    returned = 1;
    return S_OK;
}

}  // namespace winapi::sim
