#pragma once
// A WbemServices over an IWbemServices proxy. Include after the winapi/*.h headers.

#include "winapi/Wmi.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class ComWbemServices final : public WbemServices {
public:
    explicit ComWbemServices(ComPtr<IWbemServices> services);

    [[nodiscard]] HRESULT ExecQuery(const std::wstring& queryLanguage, const std::wstring& query, LONG flags,
                                    std::unique_ptr<EnumWbemClassObject>& enumerator) override;

    // The proxy itself, for CoSetProxyBlanket.
    [[nodiscard]] IUnknown* Proxy() const { return services_.Get(); }

private:
    ComPtr<IWbemServices> services_;
};

}  // namespace winapi::native
