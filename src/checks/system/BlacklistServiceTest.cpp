#include "checks/system/BlacklistServiceTest.h"

#include "platform/Console.h"
#include "platform/WmiQuery.h"
#include "winapi/Com.h"

#include <memory>
#include <optional>
#include <string_view>

namespace {

const std::wstring ServiceQuery = L"SELECT * FROM Win32_Service";
const std::wstring NameProperty = L"Name";
const std::wstring StateProperty = L"State";

constexpr std::string_view CoInitializeFailedMessage = "BLACKLIST SERVICE COINITIALIZE FAILED\n";
constexpr std::string_view ParameterLine = "Parameter: %wS\n";
constexpr std::string_view ServiceLine = "Service: %wS -";
constexpr std::string_view StateLine = "State: %wS\n";

}  // namespace

BlacklistServiceTest::BlacklistServiceTest(const std::vector<std::wstring>& parameterList)
    : Test(parameterList), parameters(parameterList)
{
}

bool BlacklistServiceTest::Run()
{
    bool found = false;
    if (winapi::FAILED(FindBlacklistedService(found))) {
        // A machine whose services cannot be listed is given the benefit of the doubt.
        return SetPassed(true);
    }
    SetPassed(!found);
    if (!GetPassed()) {
        AddSolution(L"");
    }
    return GetPassed();
}

winapi::HRESULT BlacklistServiceTest::FindBlacklistedService(bool& found)
{
    found = false;
    // A nested initialisation on the run's apartment; it is never undone.
    if (winapi::FAILED(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED))) {
        ConsolePrintf(CoInitializeFailedMessage);
        return winapi::E_FAIL;
    }
    WmiQueryObjects objects;
    winapi::HRESULT hr = OpenWqlQuery(ServiceQuery, objects);
    if (winapi::FAILED(hr)) {
        return winapi::E_FAIL;
    }
    while (objects.enumerator) {
        // Declared after the query objects, so it is released first.
        std::unique_ptr<winapi::WbemClassObject> service;
        winapi::ULONG returned = 0;
        hr = objects.enumerator->Next(winapi::WBEM_INFINITE, service, returned);
        if (returned == 0 || winapi::FAILED(hr) || !service) {
            break;
        }
        winapi::Variant nameValue;
        std::optional<std::wstring> name;
        if (winapi::SUCCEEDED(service->Get(NameProperty, 0, nameValue)) && (name = WmiString(nameValue))) {
            for (const std::wstring& fragment : parameters) {
                ConsolePrintf(ParameterLine, fragment);
                if (name->find(fragment) != std::wstring::npos) {
                    found = true;
                }
            }
            ConsolePrintf(ServiceLine, *name);
        }
        winapi::Variant stateValue;
        std::optional<std::wstring> state;
        if (winapi::SUCCEEDED(service->Get(StateProperty, 0, stateValue)) && (state = WmiString(stateValue))) {
            ConsolePrintf(StateLine, *state);
        }
    }
    return hr;
}
