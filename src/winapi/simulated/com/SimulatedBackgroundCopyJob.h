#pragma once
// A download job of the simulated BITS; every call is recorded in the machine's BITS calls.

#include "winapi/Bits.h"

namespace winapi::sim {

class SimulatedBackgroundCopyJob final : public BackgroundCopyJob {
public:
    SimulatedBackgroundCopyJob() = default;
    ~SimulatedBackgroundCopyJob() override;

    [[nodiscard]] HRESULT AddFile(const std::wstring& remoteUrl, const std::wstring& localName) override;
    HRESULT Cancel() override;
};

}  // namespace winapi::sim
