#include "winapi/Wmi.h"

#include <utility>

#include "winapi/native/ComEnumWbemClassObject.h"
#include "winapi/native/ComWbemServices.h"
#include "winapi/native/UniqueBstr.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi {

HRESULT CoSetProxyBlanket(WbemServices& proxy, DWORD authnService, DWORD authzService, DWORD authnLevel, DWORD impLevel,
                          DWORD capabilities)
{
    // Every WbemServices of this backend is a ComWbemServices.
    IUnknown* const unknown = static_cast<native::ComWbemServices&>(proxy).Proxy();
    return ::CoSetProxyBlanket(unknown, authnService, authzService, nullptr, authnLevel, impLevel, nullptr,
                               capabilities);
}

namespace native {

ComWbemServices::ComWbemServices(ComPtr<IWbemServices> services) : services_(std::move(services)) {}

HRESULT ComWbemServices::ExecQuery(const std::wstring& queryLanguage, const std::wstring& query, LONG flags,
                                   std::unique_ptr<EnumWbemClassObject>& enumerator)
{
    const UniqueBstr language(queryLanguage);
    const UniqueBstr text(query);
    if (!language.is_valid() || !text.is_valid()) {
        return E_OUTOFMEMORY;
    }
    ComPtr<IEnumWbemClassObject> received;
    const HRESULT hr = services_->ExecQuery(language.get(), text.get(), flags, nullptr, received.GetAddressOf());
    if (SUCCEEDED(hr) && received) {
        enumerator = std::make_unique<ComEnumWbemClassObject>(std::move(received));
    }
    return hr;
}

}  // namespace native
}  // namespace winapi
