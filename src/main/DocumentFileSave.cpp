#include "main/DocumentFileSave.h"

#include "winapi/Storage.h"
#include "winapi/Win32.h"

namespace {

const std::wstring SavingSuffix = L".saving";

// Writes what the system still holds of a file or of a folder's entries to the disk.
// Best effort: a file system that cannot flush a folder still keeps the file whole.
bool Flush(const std::wstring& path, winapi::DWORD flags)
{
    const winapi::UniqueFile file = winapi::CreateFileW(
        path, winapi::GENERIC_READ | winapi::GENERIC_WRITE,
        winapi::FILE_SHARE_READ | winapi::FILE_SHARE_WRITE | winapi::FILE_SHARE_DELETE, winapi::OPEN_EXISTING, flags);
    return file && winapi::FlushFileBuffers(file.get());
}

// The folder that holds path, as a path of its own: "." for a bare name.
std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) + L"." : L".";
    }
    return path.substr(0, separator + 1);
}

}  // namespace

std::wstring SavingPath(const std::wstring& path)
{
    return path + SavingSuffix;
}

void SaveOverDocumentFile(winapi::XmlDocument& document, const std::wstring& path)
{
    const std::wstring savingPath = SavingPath(path);
    // A leftover of a save cut short may have been made read-only since; it must not stop this one.
    (void)winapi::SetFileAttributesW(savingPath, winapi::FILE_ATTRIBUTE_NORMAL);
    const winapi::HRESULT saved = document.save(savingPath);
    if (winapi::FAILED(saved)) {
        (void)winapi::DeleteFileW(savingPath);
        if (saved == winapi::HRESULT_FROM_WIN32(winapi::ERROR_ACCESS_DENIED)) {
            (void)document.save(path);
        }
        return;
    }
    // The new document is on the disk before it takes the old one's place: after a crash the
    // file is the old document or the new one, never the name of an empty or partial file.
    const bool replaced =
        Flush(savingPath, 0) &&
        (winapi::ReplaceFileW(path, savingPath, winapi::REPLACEFILE_IGNORE_MERGE_ERRORS) ||
         winapi::MoveFileExW(savingPath, path, winapi::MOVEFILE_REPLACE_EXISTING | winapi::MOVEFILE_WRITE_THROUGH));
    if (!replaced) {
        (void)winapi::DeleteFileW(savingPath);
        return;
    }
    (void)Flush(FolderOf(path), winapi::FILE_FLAG_BACKUP_SEMANTICS);
}
