#pragma once
// A BackgroundCopyManager over an IBackgroundCopyManager. Include after the winapi/*.h headers.

#include "winapi/Bits.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class ComBackgroundCopyManager final : public BackgroundCopyManager {
public:
    explicit ComBackgroundCopyManager(ComPtr<IBackgroundCopyManager> manager);

    [[nodiscard]] HRESULT CreateJob(const std::wstring& displayName, DWORD type, GUID& jobId,
                                    std::unique_ptr<BackgroundCopyJob>& job) override;

private:
    ComPtr<IBackgroundCopyManager> manager_;
};

}  // namespace winapi::native
