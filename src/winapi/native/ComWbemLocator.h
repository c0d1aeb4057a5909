#pragma once
// A WbemLocator over an IWbemLocator. Include after the winapi/*.h headers.

#include "winapi/Wmi.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class ComWbemLocator final : public WbemLocator {
public:
    explicit ComWbemLocator(ComPtr<IWbemLocator> locator);

    [[nodiscard]] HRESULT ConnectServer(const std::wstring& networkResource, LONG securityFlags,
                                        std::unique_ptr<WbemServices>& services) override;

private:
    ComPtr<IWbemLocator> locator_;
};

}  // namespace winapi::native
