#pragma once
// The x86 IN instruction from user mode, through which a virtual machine's hypervisor can be
// asked who it is. On a physical machine the instruction is privileged and raises an exception;
// the call absorbs it and reports its code. Native: inline assembly under a vectored exception
// handler (PortIo.cpp). Simulated: the machine's "vmware" answer (simulated/system/SimulatedPortIo.cpp).

#include "winapi/WinTypes.h"

namespace winapi {

constexpr DWORD EXCEPTION_PRIV_INSTRUCTION = 0xC0000096;

// The general registers that IN EAX, DX reads and a hypervisor answers in.
struct PortIoRegisters {
    DWORD eax = 0;
    DWORD ebx = 0;
    DWORD ecx = 0;
    DWORD edx = 0;
};

// Loads EAX, EBX, ECX and EDX from registers and executes IN EAX, DX (a 32-bit read of the port
// in DX). 0 when the instruction completed, and registers then holds the four registers as it
// left them; otherwise the code of the exception it raised (EXCEPTION_PRIV_INSTRUCTION on a
// physical machine), which is absorbed, and registers is untouched. When an exception could not
// be caught the instruction is not executed, and registers is untouched too:
// STATUS_ENTRYPOINT_NOT_FOUND (0xC0000139) where Windows has no vectored exception handling
// (Windows 2000), STATUS_NO_MEMORY where it could not register the handler. The caller's own
// registers are preserved.
[[nodiscard]] DWORD ExecuteInDword(PortIoRegisters& registers);

}  // namespace winapi
