#include "winapi/simulated/profile/DefaultMachine.h"

namespace winapi::sim {

std::string_view DefaultMachineProfile()
{
    static constexpr char profile[] =
#include "DefaultMachineProfile.inc"
        ;
    return profile;
}

}  // namespace winapi::sim
