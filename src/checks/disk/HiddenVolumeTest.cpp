#include "checks/disk/HiddenVolumeTest.h"

#include "platform/DriveLetters.h"
#include "platform/UsbDisk.h"
#include "platform/WideText.h"
#include "checks/disk/StorageWalks.h"
#include "winapi/Storage.h"

#include <array>

namespace {

constexpr std::wstring_view NoVolumesMessage = L"[HVTEST] ERROR: Cannot find any volumes\n";
constexpr std::wstring_view RootTemplate = L"a:\\";

// Whether no drive letter of a fixed, non-USB volume leads to volumeName.
bool HasNoDriveLetter(const std::wstring& volumeName)
{
    bool reachable = false;
    DriveLetterEnumeration([&](wchar_t letter) {
        std::wstring root(RootTemplate);
        root[0] = letter;
        std::array<wchar_t, winapi::MAX_PATH> name{};
        if (!winapi::GetVolumeNameForVolumeMountPointW(root, name)) {
            return true;
        }
        const std::wstring letterVolume(name.data());
        reachable = winapi::GetDriveTypeW(letterVolume) == winapi::DRIVE_FIXED && !IsOnUsbDrive(letterVolume) &&
                    EqualIgnoringCase(volumeName, letterVolume);
        // Once a letter leads to the volume, the later ones are not asked.
        return !reachable;
    });
    return !reachable;
}

unsigned CountHiddenVolumes(Test& test)
{
    unsigned count = 0;
    WalkFixedVolumes(test, NoVolumesMessage, [&](const std::wstring& volumeName) {
        if (!IsOnUsbDrive(volumeName) && HasNoDriveLetter(volumeName)) {
            test.AddMoreInfo(L"%wS", volumeName);
            test.AddSolution(L"%wS", volumeName);
            ++count;
        }
    });
    return count;
}

}  // namespace

bool HiddenVolumeTest::Run()
{
    return SetPassed(CountHiddenVolumes(*this) == 0);
}
