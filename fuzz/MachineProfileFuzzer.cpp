// The machine profile reader over any text: a profile is a file someone else wrote, soon one
// captured on a customer's machine.

#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    winapi::sim::Machine machine;
    (void)winapi::sim::LoadMachineProfile({reinterpret_cast<const char*>(data), size}, machine);
    return 0;
}
