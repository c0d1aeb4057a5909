#include "support/ScopedMachine.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/simulated/profile/MachineProfile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

winapi::sim::Machine MachineOf(std::string_view profile)
{
    winapi::sim::Machine machine;
    if (const std::string problem = winapi::sim::LoadMachineProfile(profile, machine); !problem.empty()) {
        ADD_FAILURE() << "the test's machine profile is refused: " << problem;
        return winapi::sim::Machine{};
    }
    return machine;
}

}  // namespace

ScopedMachine::ScopedMachine(std::string_view profile) : ScopedMachine(MachineOf(profile)) {}

ScopedMachine::ScopedMachine(winapi::sim::Machine machine) : previous_(winapi::sim::CurrentMachine())
{
    winapi::sim::ResetSimulatedProcess();
    winapi::sim::InstallMachine(std::move(machine));
}

void ScopedMachine::Install(std::string_view profile)
{
    winapi::sim::Machine machine = MachineOf(profile);
    winapi::sim::ResetSimulatedProcess();
    winapi::sim::InstallMachine(std::move(machine));
}

ScopedMachine::~ScopedMachine()
{
    winapi::sim::ResetSimulatedProcess();
    winapi::sim::InstallMachine(std::move(previous_));
}
