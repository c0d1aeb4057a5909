#pragma once
// The manager of the simulated BITS; every call is recorded in the machine's BITS calls.

#include "winapi/Bits.h"

namespace winapi::sim {

class SimulatedBackgroundCopyManager final : public BackgroundCopyManager {
public:
    SimulatedBackgroundCopyManager() = default;
    ~SimulatedBackgroundCopyManager() override;

    [[nodiscard]] HRESULT CreateJob(const std::wstring& displayName, DWORD type, GUID& jobId,
                                    std::unique_ptr<BackgroundCopyJob>& job) override;
};

}  // namespace winapi::sim
