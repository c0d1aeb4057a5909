#pragma once
// The machine's own files, which the checks inspect (framework folders, libraries with version
// resources), as opposed to the host files that hold the documents. A path that starts with a
// drive letter ("C:\...") is the machine's; every other path is the host's.

#include "winapi/WinTypes.h"
#include "winapi/simulated/CaseInsensitive.h"
#include "winapi/simulated/files/FoundEntry.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::sim {

// A file's version resource: its translation table and its string tables.
struct VersionResource {
    // Language and code page pairs, in table order; absent: no "\VarFileInfo\Translation".
    std::optional<std::vector<std::pair<WORD, WORD>>> translations;
    // String tables by their name ("040904b0"), each holding values by name ("FileVersion").
    std::map<std::wstring, std::map<std::wstring, std::wstring, CaseInsensitiveLess>, CaseInsensitiveLess> strings;
};

// A folder, with its entries in the order the file system returns them, or a file.
struct MachineFile {
    std::optional<std::vector<std::wstring>> entries;
    std::optional<VersionResource> version;
    [[nodiscard]] bool IsFolder() const { return entries.has_value(); }
};

[[nodiscard]] bool IsMachinePath(std::wstring_view path);

// The path with "." and ".." resolved and no trailing backslash, as the map of files keys it.
[[nodiscard]] std::wstring NormalMachinePath(std::wstring_view path);

// The entries of a machine folder that a FindFirstFileW pattern matches, in the folder's order,
// or the Win32 error: ERROR_PATH_NOT_FOUND without such a folder, ERROR_FILE_NOT_FOUND when
// nothing matches.
[[nodiscard]] DWORD FindMachineEntries(const std::wstring& pattern, std::vector<FoundEntry>& entries);

// The machine file at the path, if the machine has it: listed itself, or named by its folder.
[[nodiscard]] std::optional<MachineFile> FindMachineFile(const std::wstring& path);

}  // namespace winapi::sim
