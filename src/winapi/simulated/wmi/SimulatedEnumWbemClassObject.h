#pragma once
// The forward-only enumerator of one simulated query: the matching instances, in class order.

#include "winapi/Wmi.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <vector>

namespace winapi::sim {

class SimulatedEnumWbemClassObject final : public EnumWbemClassObject {
public:
    // faults: the calls that fail for this query, the class's own and its device's.
    SimulatedEnumWbemClassObject(const WmiClass& wmiClass, std::vector<WmiInstance> instances, ObjectFaults faults);
    ~SimulatedEnumWbemClassObject() override;

    [[nodiscard]] HRESULT Next(LONG timeout, std::unique_ptr<WbemClassObject>& object, ULONG& returned) override;

private:
    // The class as it was when the query ran: its name and properties.
    WmiClass class_;
    std::size_t next_ = 0;
};

}  // namespace winapi::sim
