// The calls that take a handle of any kind the simulated process hands out, and pass it on to
// the module that owns that kind: CreateFileW opens a device of the machine or one of the host's
// files, CloseHandle closes a device, a token or a host file.

#include "winapi/Storage.h"

#include "winapi/Win32.h"
#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/files/HostFiles.h"
#include "winapi/simulated/storage/DeviceHandles.h"
#include "winapi/simulated/system/SimulatedTokens.h"
#include "winapi/simulated/FailedCall.h"

namespace winapi {

UniqueFile CreateFileW(const std::wstring& fileName, DWORD desiredAccess, DWORD shareMode, DWORD creationDisposition,
                       DWORD flagsAndAttributes)
{
    if (sim::FaultedWithLastError(L"CreateFileW")) {
        return UniqueFile();
    }
    HANDLE handle = nullptr;
    auto error = sim::OpenDeviceHandle(fileName, desiredAccess, shareMode, creationDisposition, handle);
    if (!error) {
        // Any other path is one of the host's files or folders.
        error = sim::OpenHostFile(fileName, desiredAccess, creationDisposition, flagsAndAttributes, handle);
    }
    if (*error != ERROR_SUCCESS) {
        SetLastError(*error);
        return UniqueFile();
    }
    return UniqueFile(handle);
}

BOOL CloseHandle(HANDLE object)
{
    sim::DisturbLastError();
    if (sim::CloseDeviceHandle(object) || sim::CloseToken(object) || sim::CloseHostFile(object)) {
        return TRUE;
    }
    return sim::Fail(ERROR_INVALID_HANDLE);
}

BOOL FlushFileBuffers(HANDLE file)
{
    if (sim::FaultedWithLastError(L"FlushFileBuffers")) {
        return FALSE;
    }
    const DWORD error = sim::FlushHostFile(file);
    return error == ERROR_SUCCESS ? TRUE : sim::Fail(error);
}

}  // namespace winapi
