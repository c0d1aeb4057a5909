#include "checks/disk/CompressedRootTest.h"

#include "platform/DriveLetters.h"
#include "platform/UsbDisk.h"
#include "checks/disk/StorageWalks.h"
#include "winapi/Storage.h"

namespace {

constexpr std::wstring_view NoVolumesMessage = L"[CRTEST] ERROR: Cannot find any volumes\n";
// The device form of a drive's root; the letter goes at index 4.
constexpr std::wstring_view DeviceRootTemplate = L"\\\\.\\a:\\";
constexpr std::size_t DeviceRootLetter = 4;

// A compressed root folder is recorded in the test's more-info lines.
bool IsCompressedDirectory(Test& test, const std::wstring& path)
{
    winapi::WIN32_FILE_ATTRIBUTE_DATA information{};
    // A failed read leaves no attributes, and so counts as not compressed.
    static_cast<void>(winapi::GetFileAttributesExW(path, winapi::GetFileExInfoStandard, information));
    constexpr winapi::DWORD compressedFolder = winapi::FILE_ATTRIBUTE_DIRECTORY | winapi::FILE_ATTRIBUTE_COMPRESSED;
    if ((information.dwFileAttributes & compressedFolder) != compressedFolder) {
        return false;
    }
    test.AddMoreInfo(L"%wS", path);
    return true;
}

bool HasCompressedRootByLetter(Test& test)
{
    bool found = false;
    DriveLetterEnumeration([&](wchar_t letter) {
        std::wstring root(DeviceRootTemplate);
        root[DeviceRootLetter] = letter;
        if (winapi::GetDriveTypeW(root) == winapi::DRIVE_FIXED && !IsOnUsbDrive(root) &&
            IsCompressedDirectory(test, root)) {
            // The plain root, "c:\", for the solution.
            test.AddSolution(L"%wS", root.substr(DeviceRootLetter, 3));
            found = true;
        }
        return true;
    });
    return found;
}

// Finds compressed roots of volumes that have no drive letter; USB volumes are not left out here.
bool HasCompressedRootByVolume(Test& test)
{
    bool found = false;
    WalkFixedVolumes(test, NoVolumesMessage,
                     [&](const std::wstring& volumeName) { found = IsCompressedDirectory(test, volumeName) || found; });
    return found;
}

}  // namespace

bool CompressedRootTest::Run()
{
    return SetPassed(!(HasCompressedRootByLetter(*this) || HasCompressedRootByVolume(*this)));
}
