// Kernel and shell calls answered from the simulated machine. Paths of documents and results
// are the host's own files, so the program reads and writes real files in the simulated build;
// paths that start with a drive letter are the machine's own files (files/MachineFiles.h).

#include "winapi/Win32.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/Utf8.h"
#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/files/HostFiles.h"
#include "winapi/simulated/FailedCall.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/files/MachineFiles.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <memory>

namespace winapi {

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;
UINT errorMode = 0;

// Open find handles: the names still to be returned, in order.
std::map<HANDLE, std::vector<sim::FoundEntry>>& OpenSearches()
{
    static std::map<HANDLE, std::vector<sim::FoundEntry>> searches;
    return searches;
}

void FillFindData(const sim::FoundEntry& entry, WIN32_FIND_DATAW& data)
{
    data = WIN32_FIND_DATAW{};
    data.dwFileAttributes = entry.attributes;
    data.nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(entry.size & 0xFFFFFFFFu);
    const std::size_t length = std::min(entry.name.size(), std::size(data.cFileName) - 1);
    std::wmemcpy(data.cFileName, entry.name.c_str(), length);
}

// The machine's version record for a GetVersionExW whose size field must be recordSize; null,
// with the last error set, when the call fails.
const OSVERSIONINFOEXW* VersionRecord(DWORD sizeField, DWORD recordSize)
{
    const std::optional<OSVERSIONINFOEXW>& version = sim::CurrentMachine().version;
    if (sim::FaultedWithLastError(L"GetVersionExW")) {
        return nullptr;
    }
    if (!version || sizeField != recordSize) {
        lastError = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    return &*version;
}

// TRUE for ERROR_SUCCESS; otherwise FALSE, with the error as the last error.
BOOL Answer(DWORD error)
{
    if (error != ERROR_SUCCESS) {
        lastError = error;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

DWORD GetLastError()
{
    return lastError;
}

void SetLastError(DWORD error)
{
    lastError = error;
}

UINT SetErrorMode(UINT mode)
{
    return std::exchange(errorMode, mode);
}

UniqueFindFile FindFirstFileW(const std::wstring& pattern, WIN32_FIND_DATAW& data)
{
    if (sim::FaultedWithLastError(L"FindFirstFileW")) {
        return UniqueFindFile();
    }
    std::vector<sim::FoundEntry> entries;
    const DWORD error = sim::IsMachinePath(pattern) ? sim::FindMachineEntries(pattern, entries)
                                                    : sim::FindHostEntries(pattern, entries);
    if (error != ERROR_SUCCESS) {
        lastError = error;
        return UniqueFindFile();
    }
    FillFindData(entries.front(), data);
    entries.erase(entries.begin());
    const HANDLE handle = sim::NewHandleValue();
    OpenSearches()[handle] = std::move(entries);
    return UniqueFindFile(handle);
}

BOOL FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW& data)
{
    const auto search = OpenSearches().find(findFile);
    if (search == OpenSearches().end()) {
        lastError = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    if (sim::FaultedWithLastError(L"FindNextFileW")) {
        return FALSE;
    }
    if (search->second.empty()) {
        lastError = ERROR_NO_MORE_FILES;
        return FALSE;
    }
    FillFindData(search->second.front(), data);
    search->second.erase(search->second.begin());
    return TRUE;
}

BOOL FindClose(HANDLE findFile)
{
    sim::DisturbLastError();
    return OpenSearches().erase(findFile) == 1 ? TRUE : FALSE;
}

BOOL DeleteFileW(const std::wstring& path)
{
    if (sim::FaultedWithLastError(L"DeleteFileW")) {
        return FALSE;
    }
    return Answer(sim::DeleteHostFile(path));
}

BOOL MoveFileExW(const std::wstring& existingPath, const std::wstring& newPath, DWORD flags)
{
    if (sim::FaultedWithLastError(L"MoveFileExW")) {
        return FALSE;
    }
    return Answer(sim::MoveHostFile(existingPath, newPath, (flags & MOVEFILE_REPLACE_EXISTING) != 0));
}

BOOL ReplaceFileW(const std::wstring& replacedFileName, const std::wstring& replacementFileName, DWORD /*replaceFlags*/)
{
    if (sim::FaultedWithLastError(L"ReplaceFileW")) {
        return FALSE;
    }
    return Answer(sim::ReplaceHostFile(replacedFileName, replacementFileName));
}

BOOL SetFileAttributesW(const std::wstring& fileName, DWORD fileAttributes)
{
    if (sim::FaultedWithLastError(L"SetFileAttributesW")) {
        return FALSE;
    }
    return Answer(sim::SetHostFileAttributes(fileName, fileAttributes));
}

BOOL GetComputerNameW(std::wstring& name)
{
    const std::optional<std::wstring>& computerName = sim::CurrentMachine().computerName;
    if (sim::FaultedWithLastError(L"GetComputerNameW")) {
        return FALSE;
    }
    if (!computerName) {
        return sim::Fail(ERROR_FILE_NOT_FOUND);
    }
    name = *computerName;
    return TRUE;
}

UINT GetSystemDirectoryW(std::span<wchar_t> buffer)
{
    const std::optional<std::wstring>& directory = sim::CurrentMachine().systemDirectory;
    if (sim::FaultedWithLastError(L"GetSystemDirectoryW")) {
        return 0;
    }
    if (!directory) {
        lastError = ERROR_FILE_NOT_FOUND;
        return 0;
    }
    if (directory->size() + 1 > buffer.size()) {
        return static_cast<UINT>(directory->size() + 1);
    }
    std::ranges::copy(*directory, buffer.begin());
    buffer[directory->size()] = L'\0';
    return static_cast<UINT>(directory->size());
}

BOOL GetVersionExW(OSVERSIONINFOEXW& info)
{
    const OSVERSIONINFOEXW* version = VersionRecord(info.dwOSVersionInfoSize, OSVERSIONINFOEXW_SIZE);
    if (version == nullptr) {
        return FALSE;
    }
    info = *version;
    info.dwOSVersionInfoSize = OSVERSIONINFOEXW_SIZE;
    return TRUE;
}

BOOL GetVersionExW(OSVERSIONINFOW& info)
{
    const OSVERSIONINFOEXW* version = VersionRecord(info.dwOSVersionInfoSize, OSVERSIONINFOW_SIZE);
    if (version == nullptr) {
        return FALSE;
    }
    info.dwMajorVersion = version->dwMajorVersion;
    info.dwMinorVersion = version->dwMinorVersion;
    info.dwBuildNumber = version->dwBuildNumber;
    info.dwPlatformId = version->dwPlatformId;
    std::ranges::copy(version->szCSDVersion, info.szCSDVersion);
    return TRUE;
}

UniqueModule LoadLibraryW(const std::wstring& fileName)
{
    if (sim::FaultedWithLastError(L"LoadLibraryW")) {
        return UniqueModule();
    }
    const std::size_t slash = fileName.find_last_of(L"\\/");
    const std::wstring baseName = slash == std::wstring::npos ? fileName : fileName.substr(slash + 1);
    if (sim::CurrentMachine().libraries.count(baseName) == 0) {
        lastError = ERROR_MOD_NOT_FOUND;
        return UniqueModule();
    }
    return UniqueModule(sim::NewHandleValue());
}

BOOL FreeLibrary(HMODULE module)
{
    sim::DisturbLastError();
    return module != nullptr ? TRUE : FALSE;
}

namespace sim {

void ResetWin32State()
{
    lastError = ERROR_SUCCESS;
    errorMode = 0;
    OpenSearches().clear();
}

}  // namespace sim

}  // namespace winapi
