// The I/O port of the simulated machine's hypervisor: a VMware virtual machine answers the
// backdoor's get-version command; on any other machine, and for any other port or magic number,
// IN is privileged in user mode and raises EXCEPTION_PRIV_INSTRUCTION.

#include "winapi/PortIo.h"

#include "winapi/simulated/SimulatedMachine.h"

namespace winapi {

namespace {

constexpr DWORD BackdoorMagic = 0x564D5868;
constexpr DWORD BackdoorPort = 0x5658;
constexpr DWORD PortMask = 0xFFFF;
// What the get-version command answers: the backdoor's version in EAX and the product type in
// ECX (4, a Workstation host).
constexpr DWORD BackdoorVersion = 6;
constexpr DWORD ProductWorkstation = 4;

}  // namespace

DWORD ExecuteInDword(PortIoRegisters& registers)
{
    sim::Machine& machine = sim::CurrentMachine();
    // A profile's fault is the exception the instruction raises.
    if (const auto exception = machine.TakeFault(L"ExecuteInDword")) {
        return *exception;
    }
    if (!machine.vmware || (registers.edx & PortMask) != BackdoorPort || registers.eax != BackdoorMagic) {
        return EXCEPTION_PRIV_INSTRUCTION;
    }
    registers.eax = BackdoorVersion;
    registers.ebx = BackdoorMagic;
    registers.ecx = ProductWorkstation;
    return 0;
}

}  // namespace winapi
