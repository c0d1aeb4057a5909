#pragma once
// The system part of a machine profile: processor architecture, the functions of later Windows
// releases, GetProductInfo's type, SM_SERVERR2, physical memory, the linked token and BITS.

#include "winapi/simulated/profile/ProfileReader.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi::sim {

void ReadSystem(ProfileObject& profile, Machine& machine);

}  // namespace winapi::sim
