#include "winapi/UniqueResource.h"
#include "winapi/Win32.h"

#include <bit>

namespace {
// The surface's values, taken before <windows.h> turns their names into macros.
struct SurfaceCodes {
    static constexpr winapi::DWORD moveReplaceExisting = winapi::MOVEFILE_REPLACE_EXISTING;
    static constexpr winapi::DWORD moveWriteThrough = winapi::MOVEFILE_WRITE_THROUGH;
    static constexpr winapi::DWORD replaceIgnoreMergeErrors = winapi::REPLACEFILE_IGNORE_MERGE_ERRORS;
};
}  // namespace

#include "winapi/native/RecordCall.h"
#include "winapi/native/WindowsHeaders.h"

static_assert(SurfaceCodes::moveReplaceExisting == MOVEFILE_REPLACE_EXISTING);
static_assert(SurfaceCodes::moveWriteThrough == MOVEFILE_WRITE_THROUGH);
static_assert(SurfaceCodes::replaceIgnoreMergeErrors == REPLACEFILE_IGNORE_MERGE_ERRORS);

namespace winapi {
namespace {

// CommandLineToArgvW returns one LocalAlloc'd block holding the array and its strings.
struct LocalArgvTraits {
    using Pointer = LPWSTR*;
    static Pointer Empty() { return nullptr; }
    static void Close(Pointer argv) { ::LocalFree(argv); }
};
using UniqueLocalArgv = UniqueResource<LocalArgvTraits>;

}  // namespace

DWORD GetLastError()
{
    return ::GetLastError();
}

void SetLastError(DWORD error)
{
    ::SetLastError(error);
}

std::wstring GetCommandLineW()
{
    return ::GetCommandLineW();
}

std::vector<std::wstring> CommandLineToArgvW(const std::wstring& commandLine)
{
    int argc = 0;
    const UniqueLocalArgv argv(::CommandLineToArgvW(commandLine.c_str(), &argc));
    if (!argv) {
        return {};
    }
    return std::vector<std::wstring>(argv.get(), argv.get() + argc);
}

UINT SetErrorMode(UINT mode)
{
    return ::SetErrorMode(mode);
}

UniqueFindFile FindFirstFileW(const std::wstring& pattern, WIN32_FIND_DATAW& data)
{
    ::WIN32_FIND_DATAW found{};
    UniqueFindFile findFile(::FindFirstFileW(pattern.c_str(), &found));
    if (findFile) {
        data = std::bit_cast<WIN32_FIND_DATAW>(found);
    }
    return findFile;
}

BOOL FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW& data)
{
    ::WIN32_FIND_DATAW found{};
    const BOOL ok = ::FindNextFileW(findFile, &found);
    if (ok) {
        data = std::bit_cast<WIN32_FIND_DATAW>(found);
    }
    return ok;
}

BOOL FindClose(HANDLE findFile)
{
    return ::FindClose(findFile);
}

BOOL DeleteFileW(const std::wstring& path)
{
    return ::DeleteFileW(path.c_str());
}

BOOL MoveFileExW(const std::wstring& existingPath, const std::wstring& newPath, DWORD flags)
{
    return ::MoveFileExW(existingPath.c_str(), newPath.c_str(), flags);
}

BOOL ReplaceFileW(const std::wstring& replacedFileName, const std::wstring& replacementFileName, DWORD replaceFlags)
{
    return ::ReplaceFileW(replacedFileName.c_str(), replacementFileName.c_str(), nullptr, replaceFlags, nullptr,
                          nullptr);
}

BOOL SetFileAttributesW(const std::wstring& fileName, DWORD fileAttributes)
{
    return ::SetFileAttributesW(fileName.c_str(), fileAttributes);
}

BOOL GetComputerNameW(std::wstring& name)
{
    // The NetBIOS name has at most MAX_COMPUTERNAME_LENGTH characters; a longer one set by other
    // means is asked for again with the size the call names.
    std::wstring buffer(MAX_COMPUTERNAME_LENGTH + 1, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (::GetComputerNameW(buffer.data(), &size)) {
            buffer.resize(size);
            name = std::move(buffer);
            return TRUE;
        }
        if (::GetLastError() != ERROR_BUFFER_OVERFLOW || size <= buffer.size()) {
            return FALSE;
        }
        buffer.assign(size, L'\0');
    }
}

UINT GetSystemDirectoryW(std::span<wchar_t> buffer)
{
    return ::GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
}

BOOL GetVersionExW(OSVERSIONINFOEXW& info)
{
    return native::CallWithRecordCopy<::OSVERSIONINFOEXW>(
        info, [](::OSVERSIONINFOEXW& record) { return ::GetVersionExW(reinterpret_cast<::OSVERSIONINFOW*>(&record)); });
}

BOOL GetVersionExW(OSVERSIONINFOW& info)
{
    return native::CallWithRecordCopy<::OSVERSIONINFOW>(
        info, [](::OSVERSIONINFOW& record) { return ::GetVersionExW(&record); });
}

UniqueModule LoadLibraryW(const std::wstring& fileName)
{
    return UniqueModule(::LoadLibraryW(fileName.c_str()));
}

BOOL FreeLibrary(HMODULE module)
{
    return ::FreeLibrary(static_cast<::HMODULE>(module));
}

}  // namespace winapi
