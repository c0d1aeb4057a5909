#include "platform/MachineKind.h"

#include "platform/ComApartment.h"
#include "platform/WmiQuery.h"
#include "winapi/PortIo.h"

#include <memory>

namespace {

const std::wstring BatteryQuery = L"SELECT * from Win32_Battery";

// The backdoor's registers: the magic number in EAX (answered in EBX), the get-version command
// in ECX, the port in DX.
constexpr winapi::DWORD BackdoorMagic = 0x564D5868;
constexpr winapi::DWORD BackdoorGetVersion = 0x0A;
constexpr winapi::DWORD BackdoorPort = 0x5658;

}  // namespace

bool HasBattery(std::string_view comFailureLine)
{
    WmiQueryObjects query;
    if (winapi::FAILED(OpenWqlQueryInOwnApartment(comFailureLine, BatteryQuery, query)) || !query.enumerator) {
        return false;
    }
    // Declared after the query objects, so it is released first.
    std::unique_ptr<winapi::WbemClassObject> battery;
    bool found = false;
    winapi::HRESULT hr = winapi::S_OK;
    while (NextWmiObject(*query.enumerator, battery, hr)) {
        found = true;
    }
    return found;
}

bool IsVmwareVirtualMachine()
{
    winapi::PortIoRegisters registers;
    registers.eax = BackdoorMagic;
    registers.ebx = 0;
    registers.ecx = BackdoorGetVersion;
    registers.edx = BackdoorPort;
    // Any other result than 0 means no: an exception the instruction raised, and also a probe that
    // could not run (Windows 2000 has nothing to absorb the fault with, so the instruction is not
    // executed there). A machine that cannot be asked is taken for a physical one, the common
    // case on such old systems, and the checks then go by its battery and pointing devices.
    return winapi::ExecuteInDword(registers) == 0 && registers.ebx == BackdoorMagic;
}
