#pragma once
// One instance of a simulated WMI class, as ExecQuery's enumerator hands it out.

#include "winapi/Wmi.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi::sim {

class SimulatedWbemClassObject final : public WbemClassObject {
public:
    SimulatedWbemClassObject(const WmiClass& wmiClass, WmiInstance instance);
    ~SimulatedWbemClassObject() override;

    [[nodiscard]] HRESULT Get(const std::wstring& name, LONG flags, Variant& value) override;

private:
    std::wstring className_;
    std::set<std::wstring, CaseInsensitiveLess> classProperties_;
    WmiInstance instance_;
};

}  // namespace winapi::sim
