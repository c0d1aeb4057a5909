#include "platform/FixedVolumeEnumeration.h"

#include "winapi/Storage.h"

#include <array>

bool FixedVolumeEnumeration(const std::function<bool(const std::wstring& volumeName)>& visit)
{
    std::array<wchar_t, winapi::MAX_PATH> name{};
    const winapi::UniqueFindVolume search = winapi::FindFirstVolumeW(name);
    if (!search) {
        return false;
    }
    do {
        const std::wstring volumeName(name.data());
        if (winapi::GetDriveTypeW(volumeName) == winapi::DRIVE_FIXED && !visit(volumeName)) {
            break;
        }
    } while (winapi::FindNextVolumeW(search.get(), name));
    return true;
}
