#pragma once
// The simulated ROOT\CIMV2 namespace: runs WQL queries over the machine's WMI classes.

#include "winapi/Wmi.h"

namespace winapi::sim {

class SimulatedWbemServices final : public WbemServices {
public:
    SimulatedWbemServices() = default;
    ~SimulatedWbemServices() override;

    [[nodiscard]] HRESULT ExecQuery(const std::wstring& queryLanguage, const std::wstring& query, LONG flags,
                                    std::unique_ptr<EnumWbemClassObject>& enumerator) override;
};

}  // namespace winapi::sim
