#include "winapi/simulated/files/HostFiles.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/Storage.h"
#include "winapi/Utf8.h"
#include "winapi/simulated/files/FileNamePattern.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

namespace winapi::sim {

namespace {

wchar_t Fold(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Characters no Windows file name may hold; a wildcard names no file to delete or rename to.
bool HasInvalidNameCharacter(const std::wstring& path)
{
    constexpr std::wstring_view Reserved = L"<>\"|?*";
    return std::ranges::any_of(path,
                               [&](wchar_t c) { return c < 0x20 || Reserved.find(c) != std::wstring_view::npos; });
}

bool SameNameIgnoringCase(const std::string& left, const std::string& right)
{
    return std::ranges::equal(left, right, [](char a, char b) {
        return Fold(static_cast<wchar_t>(static_cast<unsigned char>(a))) ==
               Fold(static_cast<wchar_t>(static_cast<unsigned char>(b)));
    });
}

// The entry of folder whose name equals name but for letter case, if there is one.
std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder, const std::string& name)
{
    std::error_code error;
    std::filesystem::directory_iterator entry(folder.empty() ? std::filesystem::path(".") : folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (SameNameIgnoringCase(entry->path().filename().string(), name)) {
            return entry->path().filename();
        }
    }
    return std::nullopt;
}

}  // namespace

std::filesystem::path HostPath(const std::wstring& path)
{
    std::wstring slashed = path;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    std::filesystem::path resolved;
    for (const std::filesystem::path& component : std::filesystem::path(ToUtf8(slashed))) {
        std::error_code error;
        std::filesystem::path next = resolved / component;
        if (!component.empty() && !std::filesystem::exists(std::filesystem::symlink_status(next, error))) {
            if (const auto found = FindIgnoringCase(resolved, component.string())) {
                next = resolved / *found;
            }
        }
        resolved = std::move(next);
    }
    return resolved;
}

namespace {

bool IsReadOnly(const std::filesystem::file_status& status)
{
    return (status.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

std::filesystem::path FolderOf(const std::filesystem::path& hostPath)
{
    return hostPath.has_parent_path() ? hostPath.parent_path() : std::filesystem::path(".");
}

// What Windows answers for a path that names nothing: a missing file in a folder that exists, or
// a missing folder on the way.
DWORD MissingEntryError(const std::filesystem::path& hostPath)
{
    std::error_code error;
    return std::filesystem::is_directory(FolderOf(hostPath), error) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

struct OpenHostEntry {
    int descriptor = -1;
    DWORD access = 0;
};

std::map<HANDLE, OpenHostEntry>& OpenHostEntries()
{
    static std::map<HANDLE, OpenHostEntry> entries;
    return entries;
}

FoundEntry DescribeEntry(const std::filesystem::directory_entry& entry)
{
    FoundEntry described;
    described.name = FromUtf8(entry.path().filename().string());
    std::error_code error;
    const auto status = entry.status(error);
    if (std::filesystem::is_directory(status)) {
        described.attributes = FILE_ATTRIBUTE_DIRECTORY;
    } else {
        described.attributes = FILE_ATTRIBUTE_ARCHIVE;
        described.size = entry.file_size(error);
    }
    if (IsReadOnly(status)) {
        described.attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return described;
}

}  // namespace

DWORD Win32ErrorFromErrno(int error)
{
    switch (error) {
    case ENOENT: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    default: return ERROR_GEN_FAILURE;
    }
}

DWORD FindHostEntries(const std::wstring& pattern, std::vector<FoundEntry>& entries)
{
    const std::filesystem::path path = HostPath(pattern);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const std::wstring namePattern = FromUtf8(path.filename().string());
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return ERROR_PATH_NOT_FOUND;
    }
    // A path that ends in a separator names no entry, not even the folder it names.
    if (namePattern.empty()) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (namePattern.find_first_of(L"*?") == std::wstring::npos) {
        const std::filesystem::directory_entry entry(path, error);
        if (error || !entry.exists(error)) {
            return ERROR_FILE_NOT_FOUND;
        }
        entries.push_back(DescribeEntry(entry));
        return ERROR_SUCCESS;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (MatchesFilePattern(namePattern, FromUtf8(entry.path().filename().string()))) {
            entries.push_back(DescribeEntry(entry));
        }
    }
    return entries.empty() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
}

DWORD DeleteHostFile(const std::wstring& path)
{
    // An empty name is no path at all to Windows, not a file missing from the current folder.
    if (path.empty()) {
        return ERROR_PATH_NOT_FOUND;
    }
    if (HasInvalidNameCharacter(path)) {
        return ERROR_INVALID_NAME;
    }
    const std::filesystem::path hostPath = HostPath(path);
    std::error_code error;
    const auto status = std::filesystem::symlink_status(hostPath, error);
    if (!std::filesystem::exists(status)) {
        return MissingEntryError(hostPath);
    }
    if (std::filesystem::is_directory(status) || IsReadOnly(status)) {
        return ERROR_ACCESS_DENIED;
    }
    if (!std::filesystem::remove(hostPath, error)) {
        return Win32ErrorFromErrno(error.value());
    }
    return ERROR_SUCCESS;
}

DWORD MoveHostFile(const std::wstring& existingPath, const std::wstring& newPath, bool replaceExisting)
{
    if (HasInvalidNameCharacter(existingPath) || HasInvalidNameCharacter(newPath)) {
        return ERROR_INVALID_NAME;
    }
    const std::filesystem::path from = HostPath(existingPath);
    const std::filesystem::path to = HostPath(newPath);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(from, error))) {
        return ERROR_FILE_NOT_FOUND;
    }
    const auto target = std::filesystem::symlink_status(to, error);
    if (std::filesystem::exists(target)) {
        if (!replaceExisting) {
            return ERROR_ALREADY_EXISTS;
        }
        // Windows replaces no read-only file, as it deletes none.
        if (IsReadOnly(target)) {
            return ERROR_ACCESS_DENIED;
        }
    }
    std::filesystem::rename(from, to, error);
    return error ? Win32ErrorFromErrno(error.value()) : ERROR_SUCCESS;
}

DWORD ReplaceHostFile(const std::wstring& replacedPath, const std::wstring& replacementPath)
{
    if (HasInvalidNameCharacter(replacedPath) || HasInvalidNameCharacter(replacementPath)) {
        return ERROR_INVALID_NAME;
    }
    const std::filesystem::path replaced = HostPath(replacedPath);
    const std::filesystem::path replacement = HostPath(replacementPath);
    std::error_code error;
    const auto replacedStatus = std::filesystem::status(replaced, error);
    if (!std::filesystem::is_regular_file(replacedStatus) ||
        !std::filesystem::is_regular_file(std::filesystem::status(replacement, error))) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (IsReadOnly(replacedStatus)) {
        return ERROR_ACCESS_DENIED;
    }
    std::filesystem::permissions(replacement, replacedStatus.permissions(), error);
    if (!error) {
        std::filesystem::rename(replacement, replaced, error);
    }
    return error ? Win32ErrorFromErrno(error.value()) : ERROR_SUCCESS;
}

DWORD SetHostFileAttributes(const std::wstring& path, DWORD attributes)
{
    const std::filesystem::path hostPath = HostPath(path);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::status(hostPath, error))) {
        return MissingEntryError(hostPath);
    }
    constexpr auto writable = std::filesystem::perms::owner_write;
    const auto option = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? std::filesystem::perm_options::remove
                                                                    : std::filesystem::perm_options::add;
    std::filesystem::permissions(hostPath, writable, option, error);
    return error ? Win32ErrorFromErrno(error.value()) : ERROR_SUCCESS;
}

DWORD HostWriteRefusal(const std::wstring& path)
{
    const std::filesystem::path hostPath = HostPath(path);
    std::error_code error;
    const auto status = std::filesystem::status(hostPath, error);
    if (std::filesystem::exists(status)) {
        return std::filesystem::is_directory(status) || IsReadOnly(status) ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
    }
    const auto folderStatus = std::filesystem::status(FolderOf(hostPath), error);
    if (!std::filesystem::is_directory(folderStatus)) {
        return ERROR_PATH_NOT_FOUND;
    }
    return IsReadOnly(folderStatus) ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

DWORD OpenHostFile(const std::wstring& path, DWORD desiredAccess, DWORD creationDisposition, DWORD flagsAndAttributes,
                   HANDLE& handle)
{
    if (HasInvalidNameCharacter(path)) {
        return ERROR_INVALID_NAME;
    }
    if (creationDisposition != OPEN_EXISTING) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::filesystem::path hostPath = HostPath(path);
    std::error_code error;
    const auto status = std::filesystem::status(hostPath, error);
    if (!std::filesystem::exists(status)) {
        return MissingEntryError(hostPath);
    }
    const bool folder = std::filesystem::is_directory(status);
    if ((folder && (flagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) == 0) ||
        (!folder && (desiredAccess & GENERIC_WRITE) != 0 && IsReadOnly(status))) {
        return ERROR_ACCESS_DENIED;
    }
    // Reading is enough for the host to write a file's or a folder's data out.
    const int descriptor = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return Win32ErrorFromErrno(errno);
    }
    handle = NewHandleValue();
    OpenHostEntries()[handle] = OpenHostEntry{descriptor, desiredAccess};
    return ERROR_SUCCESS;
}

DWORD FlushHostFile(HANDLE handle)
{
    const auto open = OpenHostEntries().find(handle);
    if (open == OpenHostEntries().end()) {
        return ERROR_INVALID_HANDLE;
    }
    if ((open->second.access & GENERIC_WRITE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    return ::fsync(open->second.descriptor) == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
}

bool CloseHostFile(HANDLE handle)
{
    const auto open = OpenHostEntries().find(handle);
    if (open == OpenHostEntries().end()) {
        return false;
    }
    ::close(open->second.descriptor);
    OpenHostEntries().erase(open);
    return true;
}

void ResetHostFiles()
{
    for (const auto& [handle, entry] : OpenHostEntries()) {
        ::close(entry.descriptor);
    }
    OpenHostEntries().clear();
}

}  // namespace winapi::sim
