#pragma once
// A BackgroundCopyJob over an IBackgroundCopyJob. Include after the winapi/*.h headers.

#include "winapi/Bits.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class ComBackgroundCopyJob final : public BackgroundCopyJob {
public:
    explicit ComBackgroundCopyJob(ComPtr<IBackgroundCopyJob> job);

    [[nodiscard]] HRESULT AddFile(const std::wstring& remoteUrl, const std::wstring& localName) override;
    HRESULT Cancel() override;

private:
    ComPtr<IBackgroundCopyJob> job_;
};

}  // namespace winapi::native
