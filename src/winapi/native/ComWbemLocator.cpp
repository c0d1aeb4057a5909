#include "winapi/Wmi.h"

#include <utility>

#include "winapi/native/ComWbemLocator.h"
#include "winapi/native/ComWbemServices.h"
#include "winapi/native/UniqueBstr.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi {

HRESULT CoCreateWbemLocator(DWORD classContext, std::unique_ptr<WbemLocator>& locator)
{
    native::ComPtr<IWbemLocator> created;
    const HRESULT hr = ::CoCreateInstance(CLSID_WbemLocator, nullptr, classContext, IID_IWbemLocator,
                                          reinterpret_cast<void**>(created.GetAddressOf()));
    if (SUCCEEDED(hr) && created) {
        locator = std::make_unique<native::ComWbemLocator>(std::move(created));
    }
    return hr;
}

namespace native {

ComWbemLocator::ComWbemLocator(ComPtr<IWbemLocator> locator) : locator_(std::move(locator)) {}

HRESULT ComWbemLocator::ConnectServer(const std::wstring& networkResource, LONG securityFlags,
                                      std::unique_ptr<WbemServices>& services)
{
    const UniqueBstr resource(networkResource);
    if (!resource.is_valid()) {
        return E_OUTOFMEMORY;
    }
    ComPtr<IWbemServices> connected;
    const HRESULT hr = locator_->ConnectServer(resource.get(), nullptr, nullptr, nullptr, securityFlags, nullptr,
                                               nullptr, connected.GetAddressOf());
    if (SUCCEEDED(hr) && connected) {
        services = std::make_unique<ComWbemServices>(std::move(connected));
    }
    return hr;
}

}  // namespace native
}  // namespace winapi
