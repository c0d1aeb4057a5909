#pragma once
// Version resources of files: the block a file carries and the values inside it, with the
// Windows calls' names and rules. Native: version.dll. Simulated: the machine's own files
// (simulated/files/).

#include "winapi/WinTypes.h"

#include <span>
#include <string>

namespace winapi {

constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;

// The size in bytes of the file's version resource; 0 when the file has none or cannot be read
// (GetLastError says why).
[[nodiscard]] DWORD GetFileVersionInfoSizeW(const std::wstring& fileName);

// Copies the file's version resource into data, which GetFileVersionInfoSizeW sized; a smaller
// buffer receives what fits.
[[nodiscard]] BOOL GetFileVersionInfoW(const std::wstring& fileName, std::span<BYTE> data);

// VerQueryValueW of a binary value of the block, such as "\VarFileInfo\Translation": value
// becomes the value's bytes inside block. Untouched on failure.
[[nodiscard]] BOOL VerQueryValueW(std::span<const BYTE> block, const std::wstring& subBlock,
                                  std::span<const BYTE>& value);

// VerQueryValueW of a text value, such as "\StringFileInfo\040904b0\FileVersion": text becomes
// its characters up to the first null. Untouched on failure.
[[nodiscard]] BOOL VerQueryValueW(std::span<const BYTE> block, const std::wstring& subBlock, std::wstring& text);

}  // namespace winapi
