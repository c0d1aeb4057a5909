#pragma once
// The host's file system seen through Windows rules: the simulated build reads and writes
// documents as real files, with the errors Windows would report for them.

#include "winapi/WinTypes.h"
#include "winapi/simulated/files/FoundEntry.h"

#include <filesystem>
#include <string>
#include <vector>

namespace winapi::sim {

// The host path of a Windows path: separators turned, and each component that names no entry
// as written matched to one whose name differs only in letter case, as Windows matches names.
[[nodiscard]] std::filesystem::path HostPath(const std::wstring& path);

// The entries a FindFirstFileW pattern matches ("*" and "?" in the last component, letters
// compared without regard to case), or the Win32 error when there are none.
[[nodiscard]] DWORD FindHostEntries(const std::wstring& pattern, std::vector<FoundEntry>& entries);

// Deletes a file as DeleteFileW would: a missing file, a missing folder, a folder, a read-only
// file and a name that no Windows file can have (a wildcard in it) each give their own Win32 error.
[[nodiscard]] DWORD DeleteHostFile(const std::wstring& path);

// Renames a file as MoveFileExW would; the host's rename replaces an existing file in one step.
// Without replaceExisting an existing target gives ERROR_ALREADY_EXISTS; a read-only target is
// never replaced (ERROR_ACCESS_DENIED).
[[nodiscard]] DWORD MoveHostFile(const std::wstring& existingPath, const std::wstring& newPath, bool replaceExisting);

// The Win32 error that stands for an errno value of a failed file operation.
[[nodiscard]] DWORD Win32ErrorFromErrno(int error);

}  // namespace winapi::sim
