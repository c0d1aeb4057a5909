#pragma once
// The COM state of the simulated process, shared by the calls that depend on it.

#include "winapi/WinTypes.h"

namespace winapi::sim {

[[nodiscard]] HRESULT EnterApartment(DWORD coInit);
void LeaveApartment();
[[nodiscard]] bool ApartmentEntered();

}  // namespace winapi::sim
