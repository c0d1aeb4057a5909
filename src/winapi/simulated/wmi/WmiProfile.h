#pragma once
// The "wmi" section of a machine profile: the WMI classes of ROOT\CIMV2 and their instances.

#include "winapi/simulated/profile/ProfileReader.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi::sim {

void ReadWmiClasses(ProfileObject& profile, Machine& machine);

}  // namespace winapi::sim
