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

// Puts replacement in the place of replaced as ReplaceFileW does: in one step, and the new file
// takes on the old one's permissions (its attributes and security descriptor here). Both must
// exist; a read-only replaced file is not replaced (ERROR_ACCESS_DENIED).
[[nodiscard]] DWORD ReplaceHostFile(const std::wstring& replacedPath, const std::wstring& replacementPath);

// Sets or clears the read-only attribute, the one attribute a host file can hold.
[[nodiscard]] DWORD SetHostFileAttributes(const std::wstring& path, DWORD attributes);

// ERROR_SUCCESS when Windows would let the program write the file at path: an existing file must
// not be read-only or a folder; a new one needs a folder that may be written to (a folder without
// the owner's write permission stands for one whose access list refuses new files, also to root).
[[nodiscard]] DWORD HostWriteRefusal(const std::wstring& path);

// A file or folder opened as CreateFileW opens one (OPEN_EXISTING only; a folder only with
// FILE_FLAG_BACKUP_SEMANTICS). The handle stays valid until CloseHostFile.
[[nodiscard]] DWORD OpenHostFile(const std::wstring& path, DWORD desiredAccess, DWORD creationDisposition,
                                 DWORD flagsAndAttributes, HANDLE& handle);
// Writes the file's data, or a folder's entries, to the disk; the handle needs write access.
// ERROR_INVALID_HANDLE for a handle that is no open host file.
[[nodiscard]] DWORD FlushHostFile(HANDLE handle);
// False for a handle that is no open host file.
[[nodiscard]] bool CloseHostFile(HANDLE handle);

// The Win32 error that stands for an errno value of a failed file operation.
[[nodiscard]] DWORD Win32ErrorFromErrno(int error);

}  // namespace winapi::sim
