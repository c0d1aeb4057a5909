#pragma once
// Reading WMI on the local machine, namespace ROOT\CIMV2. The building blocks open a connection
// and run one WQL query in a fixed order; GetWmiProperty does the whole sequence for one
// property of the first instance of a class. No state is kept: every query creates and
// releases its own objects. COM must already be initialised on the thread.

#include "winapi/Variant.h"
#include "winapi/Wmi.h"

#include <memory>
#include <optional>
#include <string>

// Process-wide COM security for the program's WMI calls. Security can be set only once per
// process, so RPC_E_TOO_LATE (set by an earlier query) counts as success.
[[nodiscard]] winapi::HRESULT InitializeComSecurity();
[[nodiscard]] winapi::HRESULT CreateWbemLocator(std::unique_ptr<winapi::WbemLocator>& locator);
// The local machine's ROOT\CIMV2 under the caller's own identity.
[[nodiscard]] winapi::HRESULT ConnectCimv2(winapi::WbemLocator& locator,
                                           std::unique_ptr<winapi::WbemServices>& services);
[[nodiscard]] winapi::HRESULT SetWbemProxyBlanket(winapi::WbemServices& services);
// A forward-only WQL query that returns at once; objects arrive through Next.
[[nodiscard]] winapi::HRESULT ExecWqlQuery(winapi::WbemServices& services, const std::wstring& query,
                                           std::unique_ptr<winapi::EnumWbemClassObject>& enumerator);

// The objects of one query, declared so that they are released in the order WMI expects:
// enumerator, then services, then locator (a class object, held by the walker, goes first).
struct WmiQueryObjects {
    std::unique_ptr<winapi::WbemLocator> locator;
    std::unique_ptr<winapi::WbemServices> services;
    std::unique_ptr<winapi::EnumWbemClassObject> enumerator;
};

// The five building blocks in their order, up to the first negative result, which is returned.
[[nodiscard]] winapi::HRESULT OpenWqlQuery(const std::wstring& query, WmiQueryObjects& objects);

// The next object of a walk over the query's instances: releases the previous object first, then
// Next for one object without time-out. False when the walk is over: no object came back, or
// the result was negative; hr holds the result of Next.
[[nodiscard]] bool NextWmiObject(winapi::EnumWbemClassObject& enumerator,
                                 std::unique_ptr<winapi::WbemClassObject>& object, winapi::HRESULT& hr);

// One property of the first instance of the class, into value. S_OK when the class has no
// instance (value is then untouched); E_FAIL on any failure, whatever its cause.
[[nodiscard]] winapi::HRESULT GetWmiProperty(const std::wstring& className, const std::wstring& propertyName,
                                             winapi::Variant& value);

// The text of a string property up to its first null character, as a reader of the string's
// pointer sees it; nothing when the property holds no string (NULL, empty or another type).
[[nodiscard]] std::optional<std::wstring> WmiString(const winapi::Variant& value);

// WmiString, or an empty string when there is none, as the identity checks need a string to
// print, record and compare.
[[nodiscard]] std::wstring WmiText(const winapi::Variant& value);
