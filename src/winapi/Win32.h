#pragma once
// The kernel, shell and runtime calls of the program, with their Windows names and meanings.
// Handles come back in owners; text comes and goes as std::wstring; out-parameters are left
// untouched when a call fails.

#include "winapi/UniqueResource.h"
#include "winapi/WinTypes.h"

#include <span>
#include <string>
#include <vector>

namespace winapi {

BOOL FindClose(HANDLE findFile);
BOOL FreeLibrary(HMODULE module);

struct FindFileTraits {
    using Pointer = HANDLE;
    static Pointer Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Pointer handle) { FindClose(handle); }
};
using UniqueFindFile = UniqueResource<FindFileTraits>;

struct ModuleTraits {
    using Pointer = HMODULE;
    static Pointer Empty() { return nullptr; }
    static void Close(Pointer module) { FreeLibrary(module); }
};
using UniqueModule = UniqueResource<ModuleTraits>;

[[nodiscard]] DWORD GetLastError();
void SetLastError(DWORD error);

// The whole, unsplit command line of the process.
[[nodiscard]] std::wstring GetCommandLineW();
// Splits a command line by the rules of the shell's CommandLineToArgvW.
[[nodiscard]] std::vector<std::wstring> CommandLineToArgvW(const std::wstring& commandLine);

UINT SetErrorMode(UINT mode);

// Pattern search: wildcards in the last path component match existing names.
[[nodiscard]] UniqueFindFile FindFirstFileW(const std::wstring& pattern, WIN32_FIND_DATAW& data);
[[nodiscard]] BOOL FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW& data);
[[nodiscard]] BOOL DeleteFileW(const std::wstring& path);

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;

// Renames a file; with MOVEFILE_REPLACE_EXISTING it takes the place of an existing one in one
// step, so a reader sees either the old file or the new one, never a part of either.
[[nodiscard]] BOOL MoveFileExW(const std::wstring& existingPath, const std::wstring& newPath, DWORD flags);

constexpr DWORD REPLACEFILE_IGNORE_MERGE_ERRORS = 0x2;

// Puts the replacement file in the place of the replaced one in one step, without a backup.
// Unlike a rename it keeps what the replaced file was: its attributes, security descriptor,
// owner and alternate streams. The replaced file must exist. On failure both files are left as
// they were.
[[nodiscard]] BOOL ReplaceFileW(const std::wstring& replacedFileName, const std::wstring& replacementFileName,
                                DWORD replaceFlags);
// FILE_ATTRIBUTE_NORMAL alone clears every other attribute, read-only among them.
[[nodiscard]] BOOL SetFileAttributesW(const std::wstring& fileName, DWORD fileAttributes);

// The computer's NetBIOS name, as %COMPUTERNAME% gives it; name is left as it was on failure.
[[nodiscard]] BOOL GetComputerNameW(std::wstring& name);

// Length of the path without its terminator, 0 on failure; the buffer size if it is too small.
[[nodiscard]] UINT GetSystemDirectoryW(std::span<wchar_t> buffer);

// The caller sets dwOSVersionInfoSize; on failure the record is left as it was.
[[nodiscard]] BOOL GetVersionExW(OSVERSIONINFOEXW& info);
[[nodiscard]] BOOL GetVersionExW(OSVERSIONINFOW& info);

[[nodiscard]] UniqueModule LoadLibraryW(const std::wstring& fileName);

}  // namespace winapi
