#include "platform/WmiQuery.h"

#include "winapi/Com.h"

#include <algorithm>
#include <utility>

namespace {

const std::wstring Cimv2Namespace = L"ROOT\\CIMV2";
const std::wstring QueryLanguage = L"WQL";
const std::wstring SelectAllFrom = L"SELECT * from ";

// Let COM choose the authentication services.
constexpr winapi::LONG DefaultAuthnServices = -1;

}  // namespace

winapi::HRESULT InitializeComSecurity()
{
    const winapi::HRESULT hr = winapi::CoInitializeSecurity(DefaultAuthnServices, winapi::RPC_C_AUTHN_LEVEL_DEFAULT,
                                                            winapi::RPC_C_IMP_LEVEL_IMPERSONATE, winapi::EOAC_NONE);
    return hr == winapi::RPC_E_TOO_LATE ? winapi::S_OK : hr;
}

winapi::HRESULT CreateWbemLocator(std::unique_ptr<winapi::WbemLocator>& locator)
{
    return winapi::CoCreateWbemLocator(winapi::CLSCTX_INPROC_SERVER, locator);
}

winapi::HRESULT ConnectCimv2(winapi::WbemLocator& locator, std::unique_ptr<winapi::WbemServices>& services)
{
    return locator.ConnectServer(Cimv2Namespace, 0, services);
}

winapi::HRESULT SetWbemProxyBlanket(winapi::WbemServices& services)
{
    return winapi::CoSetProxyBlanket(services, winapi::RPC_C_AUTHN_WINNT, winapi::RPC_C_AUTHZ_NONE,
                                     winapi::RPC_C_AUTHN_LEVEL_CALL, winapi::RPC_C_IMP_LEVEL_IMPERSONATE,
                                     winapi::EOAC_NONE);
}

winapi::HRESULT ExecWqlQuery(winapi::WbemServices& services, const std::wstring& query,
                             std::unique_ptr<winapi::EnumWbemClassObject>& enumerator)
{
    constexpr winapi::LONG Flags = winapi::WBEM_FLAG_FORWARD_ONLY | winapi::WBEM_FLAG_RETURN_IMMEDIATELY;
    return services.ExecQuery(QueryLanguage, query, Flags, enumerator);
}

winapi::HRESULT OpenWqlQuery(const std::wstring& query, WmiQueryObjects& objects)
{
    winapi::HRESULT hr = InitializeComSecurity();
    if (winapi::FAILED(hr)) {
        return hr;
    }
    hr = CreateWbemLocator(objects.locator);
    if (winapi::FAILED(hr)) {
        return hr;
    }
    hr = ConnectCimv2(*objects.locator, objects.services);
    if (winapi::FAILED(hr)) {
        return hr;
    }
    hr = SetWbemProxyBlanket(*objects.services);
    if (winapi::FAILED(hr)) {
        return hr;
    }
    return ExecWqlQuery(*objects.services, query, objects.enumerator);
}

bool NextWmiObject(winapi::EnumWbemClassObject& enumerator, std::unique_ptr<winapi::WbemClassObject>& object,
                   winapi::HRESULT& hr)
{
    object.reset();
    winapi::ULONG returned = 0;
    hr = enumerator.Next(winapi::WBEM_INFINITE, object, returned);
    return winapi::SUCCEEDED(hr) && returned != 0 && object != nullptr;
}

winapi::HRESULT GetWmiProperty(const std::wstring& className, const std::wstring& propertyName, winapi::Variant& value)
{
    WmiQueryObjects objects;
    if (winapi::FAILED(OpenWqlQuery(SelectAllFrom + className, objects))) {
        return winapi::E_FAIL;
    }
    if (!objects.enumerator) {
        return winapi::S_OK;
    }
    // Declared after the query objects, so it is released first.
    std::unique_ptr<winapi::WbemClassObject> object;
    winapi::ULONG returned = 0;
    const winapi::HRESULT next = objects.enumerator->Next(winapi::WBEM_INFINITE, object, returned);
    if (winapi::FAILED(next)) {
        return winapi::E_FAIL;
    }
    // No instance: success, and the caller's value stays as it was.
    if (returned == 0 || !object) {
        return winapi::S_OK;
    }
    return winapi::FAILED(object->Get(propertyName, 0, value)) ? winapi::E_FAIL : winapi::S_OK;
}

std::optional<std::wstring> WmiString(const winapi::Variant& value)
{
    std::wstring text;
    if (winapi::FAILED(value.GetString(text))) {
        return std::nullopt;
    }
    // The text is read through the string's pointer, so it ends at its first null character:
    // what is printed and recorded is then also what is compared.
    text.resize(std::min(text.find(L'\0'), text.size()));
    return text;
}

std::wstring WmiText(const winapi::Variant& value)
{
    return WmiString(value).value_or(std::wstring());
}
