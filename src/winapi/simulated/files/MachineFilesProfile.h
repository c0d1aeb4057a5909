#pragma once
// The "files" part of a machine profile: the machine's own folders and files.

#include "winapi/simulated/profile/ProfileReader.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi::sim {

void ReadMachineFiles(ProfileObject& profile, Machine& machine);

}  // namespace winapi::sim
