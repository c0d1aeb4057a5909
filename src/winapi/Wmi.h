#pragma once
// The part of Windows Management Instrumentation that the program uses: a locator, the services
// of one namespace, a forward-only enumerator and the class objects it returns. Calls keep the
// IWbem* names and HRESULT conventions; owners release the objects; an out-parameter is set only
// on success. Native: WMI through COM. Simulated: the machine's WMI classes.

#include "winapi/Variant.h"
#include "winapi/WinTypes.h"

#include <memory>
#include <string>

namespace winapi {

using ULONG = DWORD;

// WBEM flags, time-out and results.
constexpr LONG WBEM_FLAG_RETURN_IMMEDIATELY = 0x10;
constexpr LONG WBEM_FLAG_FORWARD_ONLY = 0x20;
constexpr LONG WBEM_INFINITE = static_cast<LONG>(0xFFFFFFFFu);
constexpr HRESULT WBEM_S_FALSE = 1;
constexpr HRESULT WBEM_E_FAILED = static_cast<HRESULT>(0x80041001u);
constexpr HRESULT WBEM_E_NOT_FOUND = static_cast<HRESULT>(0x80041002u);
constexpr HRESULT WBEM_E_INVALID_PARAMETER = static_cast<HRESULT>(0x80041008u);
constexpr HRESULT WBEM_E_INVALID_NAMESPACE = static_cast<HRESULT>(0x8004100Eu);
constexpr HRESULT WBEM_E_INVALID_CLASS = static_cast<HRESULT>(0x80041010u);
constexpr HRESULT WBEM_E_INVALID_QUERY = static_cast<HRESULT>(0x80041017u);
constexpr HRESULT WBEM_E_INVALID_QUERY_TYPE = static_cast<HRESULT>(0x80041018u);

// Proxy security (CoSetProxyBlanket).
constexpr DWORD RPC_C_AUTHN_WINNT = 10;
constexpr DWORD RPC_C_AUTHZ_NONE = 0;
constexpr DWORD RPC_C_AUTHN_LEVEL_CALL = 3;

class WbemClassObject {
public:
    WbemClassObject() = default;
    WbemClassObject(const WbemClassObject&) = delete;
    WbemClassObject& operator=(const WbemClassObject&) = delete;
    virtual ~WbemClassObject() = default;

    // IWbemClassObject::Get with type and flavour NULL. WBEM_E_NOT_FOUND for a property the
    // class does not have; value is untouched on failure.
    [[nodiscard]] virtual HRESULT Get(const std::wstring& name, LONG flags, Variant& value) = 0;
};

class EnumWbemClassObject {
public:
    EnumWbemClassObject() = default;
    EnumWbemClassObject(const EnumWbemClassObject&) = delete;
    EnumWbemClassObject& operator=(const EnumWbemClassObject&) = delete;
    virtual ~EnumWbemClassObject() = default;

    // IEnumWbemClassObject::Next for one object (uCount 1, the only count the program asks
    // for). returned is 0 and the result WBEM_S_FALSE once the objects are used up.
    [[nodiscard]] virtual HRESULT Next(LONG timeout, std::unique_ptr<WbemClassObject>& object, ULONG& returned) = 0;
};

class WbemServices {
public:
    WbemServices() = default;
    WbemServices(const WbemServices&) = delete;
    WbemServices& operator=(const WbemServices&) = delete;
    virtual ~WbemServices() = default;

    // IWbemServices::ExecQuery with context NULL.
    [[nodiscard]] virtual HRESULT ExecQuery(const std::wstring& queryLanguage, const std::wstring& query, LONG flags,
                                            std::unique_ptr<EnumWbemClassObject>& enumerator) = 0;
};

class WbemLocator {
public:
    WbemLocator() = default;
    WbemLocator(const WbemLocator&) = delete;
    WbemLocator& operator=(const WbemLocator&) = delete;
    virtual ~WbemLocator() = default;

    // IWbemLocator::ConnectServer with user, password, locale, authority and context NULL: the
    // local machine under the caller's own identity.
    [[nodiscard]] virtual HRESULT ConnectServer(const std::wstring& networkResource, LONG securityFlags,
                                                std::unique_ptr<WbemServices>& services) = 0;
};

// CoCreateInstance of CLSID_WbemLocator for IID_IWbemLocator, no outer object.
[[nodiscard]] HRESULT CoCreateWbemLocator(DWORD classContext, std::unique_ptr<WbemLocator>& locator);

// CoSetProxyBlanket on the services proxy, with server principal name and identity NULL.
[[nodiscard]] HRESULT CoSetProxyBlanket(WbemServices& proxy, DWORD authnService, DWORD authzService, DWORD authnLevel,
                                        DWORD impLevel, DWORD capabilities);

}  // namespace winapi
