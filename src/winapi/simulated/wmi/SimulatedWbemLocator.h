#pragma once
// The simulated WMI locator: connects to the machine's one namespace, ROOT\CIMV2.

#include "winapi/Wmi.h"

namespace winapi::sim {

class SimulatedWbemLocator final : public WbemLocator {
public:
    SimulatedWbemLocator() = default;
    ~SimulatedWbemLocator() override;

    [[nodiscard]] HRESULT ConnectServer(const std::wstring& networkResource, LONG securityFlags,
                                        std::unique_ptr<WbemServices>& services) override;
};

}  // namespace winapi::sim
