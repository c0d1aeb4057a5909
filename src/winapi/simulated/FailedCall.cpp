#include "winapi/simulated/FailedCall.h"

#include "winapi/Win32.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi::sim {

bool FaultedWithLastError(std::wstring_view call)
{
    if (const auto error = CurrentMachine().TakeFault(call)) {
        SetLastError(*error);
        return true;
    }
    return false;
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace winapi::sim
