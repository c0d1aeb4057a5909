#pragma once
// The volumes and drives the simulated process has open, for the calls that take any kind of
// handle (CreateFileW, CloseHandle) and pass it on by its kind.

#include "winapi/WinTypes.h"

#include <optional>
#include <string>

namespace winapi::sim {

// Opens a path in the device namespace (\\.\ or \\?\) or a disk interface's path as CreateFileW
// would: ERROR_SUCCESS with the new handle, or the error CreateFileW sets. Nothing when the path
// is no device of the machine and outside the device namespace, so one of the host's files.
[[nodiscard]] std::optional<DWORD> OpenDeviceHandle(const std::wstring& path, DWORD desiredAccess, DWORD shareMode,
                                                    DWORD creationDisposition, HANDLE& handle);

// Closes the device if handle is one; false otherwise.
[[nodiscard]] bool CloseDeviceHandle(HANDLE handle);

}  // namespace winapi::sim
