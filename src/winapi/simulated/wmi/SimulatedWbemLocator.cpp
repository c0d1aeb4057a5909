// The entry points of simulated WMI: the locator, its connection and the proxy security.

#include "winapi/simulated/wmi/SimulatedWbemLocator.h"

#include "winapi/Com.h"
#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/com/SimulatedComState.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/wmi/SimulatedWbemServices.h"
#include "winapi/simulated/wmi/WmiJournal.h"

namespace winapi {

namespace {

constexpr std::wstring_view Cimv2Namespace = L"ROOT\\CIMV2";

}  // namespace

HRESULT CoCreateWbemLocator(DWORD classContext, std::unique_ptr<WbemLocator>& locator)
{
    sim::RecordWmiEvent(L"CoCreateInstance(WbemLocator)");
    sim::DisturbLastError();
    if (const auto error = sim::CurrentMachine().TakeFault(L"CoCreateInstance(WbemLocator)")) {
        return static_cast<HRESULT>(*error);
    }
    if (!sim::ApartmentEntered()) {
        return CO_E_NOTINITIALIZED;
    }
    // The locator is an in-process server only.
    if ((classContext & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    locator = std::make_unique<sim::SimulatedWbemLocator>();
    return S_OK;
}

HRESULT CoSetProxyBlanket(WbemServices& /*proxy*/, DWORD authnService, DWORD authzService, DWORD authnLevel,
                          DWORD impLevel, DWORD capabilities)
{
    sim::RecordWmiCall(L"CoSetProxyBlanket", {authnService, authzService, authnLevel, impLevel, capabilities});
    sim::DisturbLastError();
    if (const auto error = sim::CurrentMachine().TakeFault(L"CoSetProxyBlanket")) {
        return static_cast<HRESULT>(*error);
    }
    return S_OK;
}

namespace sim {

SimulatedWbemLocator::~SimulatedWbemLocator()
{
    RecordWmiEvent(L"Release IWbemLocator");
}

HRESULT SimulatedWbemLocator::ConnectServer(const std::wstring& networkResource, LONG /*securityFlags*/,
                                            std::unique_ptr<WbemServices>& services)
{
    RecordWmiEvent(L"ConnectServer " + networkResource);
    if (const auto error = CurrentMachine().TakeFault(L"ConnectServer")) {
        return static_cast<HRESULT>(*error);
    }
    if (!EqualIgnoringCase(networkResource, Cimv2Namespace)) {
        return WBEM_E_INVALID_NAMESPACE;
    }
    services = std::make_unique<SimulatedWbemServices>();
    return S_OK;
}

}  // namespace sim
}  // namespace winapi
