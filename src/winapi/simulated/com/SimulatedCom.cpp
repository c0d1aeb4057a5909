// The calling thread's COM apartment, as far as the program can observe it: nested
// initialisations answer S_FALSE, and a different threading model is refused. Process security
// is set by the first successful CoInitializeSecurity and refused to every later one.

#include "winapi/Com.h"

#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/com/SimulatedComState.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/wmi/WmiJournal.h"

namespace winapi {

HRESULT CoInitializeEx(DWORD coInit)
{
    sim::DisturbLastError();
    if (const auto error = sim::CurrentMachine().TakeFault(L"CoInitializeEx")) {
        return static_cast<HRESULT>(*error);
    }
    return sim::EnterApartment(coInit);
}

HRESULT CoInitialize()
{
    sim::DisturbLastError();
    if (const auto error = sim::CurrentMachine().TakeFault(L"CoInitialize")) {
        return static_cast<HRESULT>(*error);
    }
    return sim::EnterApartment(COINIT_APARTMENTTHREADED);
}

void CoUninitialize()
{
    sim::DisturbLastError();
    sim::LeaveApartment();
}

HRESULT CoInitializeSecurity(LONG authnServiceCount, DWORD authnLevel, DWORD impLevel, DWORD capabilities)
{
    sim::RecordWmiCall(L"CoInitializeSecurity", {authnServiceCount, authnLevel, impLevel, capabilities});
    sim::Machine& machine = sim::CurrentMachine();
    if (const auto error = machine.TakeFault(L"CoInitializeSecurity")) {
        return static_cast<HRESULT>(*error);
    }
    if (!sim::ApartmentEntered()) {
        return CO_E_NOTINITIALIZED;
    }
    if (machine.comSecuritySet) {
        return RPC_E_TOO_LATE;
    }
    machine.comSecuritySet = true;
    return S_OK;
}

}  // namespace winapi
