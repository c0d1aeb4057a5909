#pragma once
// Reads the storage sections of a machine profile: physicalDrives, volumes, diskInterfaces.

#include "winapi/simulated/profile/ProfileReader.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi::sim {

void ReadStorage(ProfileObject& profile, Machine& machine);

}  // namespace winapi::sim
