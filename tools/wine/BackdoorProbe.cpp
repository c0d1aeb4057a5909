// The VMware backdoor probe of Tarnwick.exe on its own, built from the program's own sources
// (src/winapi/native/PortIo.cpp, and SystemInfo.cpp for its lookup by name) for the architecture
// of the program under test and run by tools/wine-check.sh with the same Wine (not part of
// Tarnwick.exe). The program's verdicts cannot tell an absorbed fault from a probe that never ran;
// this can. Sends the backdoor's get-version command and prints the result code of ExecuteInDword,
// then the four registers as the call left them: under Wine, no VMware machine,
// "get-version: 0xC0000096 564D5868 00000000 0000000A 00005658" (the privileged-instruction fault,
// absorbed, and the registers untouched). Reaching the print at all shows that the run goes on
// after it. tools/wine-probes.sh holds the expected line.

#include "winapi/PortIo.h"

#include <cstdio>

int main()
{
    winapi::PortIoRegisters registers;
    registers.eax = 0x564D5868;
    registers.ebx = 0;
    registers.ecx = 0x0A;
    registers.edx = 0x5658;
    const winapi::DWORD code = winapi::ExecuteInDword(registers);
    std::printf("get-version: 0x%08lX %08lX %08lX %08lX %08lX\n", static_cast<unsigned long>(code),
                static_cast<unsigned long>(registers.eax), static_cast<unsigned long>(registers.ebx),
                static_cast<unsigned long>(registers.ecx), static_cast<unsigned long>(registers.edx));
    return 0;
}
