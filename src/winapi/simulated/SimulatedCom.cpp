// The calling thread's COM apartment, as far as the program can observe it: nested
// initialisations answer S_FALSE, and a different threading model is refused.

#include "winapi/Com.h"

#include "winapi/simulated/SimulatedComState.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi {

HRESULT CoInitializeEx(DWORD coInit)
{
    if (const auto error = sim::CurrentMachine().TakeFault(L"CoInitializeEx")) {
        return static_cast<HRESULT>(*error);
    }
    return sim::EnterApartment(coInit);
}

HRESULT CoInitialize()
{
    if (const auto error = sim::CurrentMachine().TakeFault(L"CoInitialize")) {
        return static_cast<HRESULT>(*error);
    }
    return sim::EnterApartment(COINIT_APARTMENTTHREADED);
}

void CoUninitialize()
{
    sim::LeaveApartment();
}

}  // namespace winapi
