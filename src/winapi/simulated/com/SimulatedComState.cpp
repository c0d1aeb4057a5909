#include "winapi/simulated/com/SimulatedComState.h"

#include "winapi/simulated/ProcessReset.h"
namespace winapi::sim {

namespace {

struct Apartment {
    unsigned depth = 0;
    DWORD model = 0;
};

Apartment& ThreadApartment()
{
    thread_local Apartment apartment;
    return apartment;
}

}  // namespace

HRESULT EnterApartment(DWORD coInit)
{
    Apartment& apartment = ThreadApartment();
    if (apartment.depth > 0 && apartment.model != coInit) {
        return RPC_E_CHANGED_MODE;
    }
    apartment.model = coInit;
    return apartment.depth++ == 0 ? S_OK : S_FALSE;
}

void LeaveApartment()
{
    Apartment& apartment = ThreadApartment();
    if (apartment.depth > 0) {
        --apartment.depth;
    }
}

bool ApartmentEntered()
{
    return ThreadApartment().depth > 0;
}

void ResetApartment()
{
    ThreadApartment() = Apartment{};
}

}  // namespace winapi::sim
