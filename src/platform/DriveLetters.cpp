#include "platform/DriveLetters.h"

#include "winapi/Storage.h"

namespace {

constexpr int DriveLetterCount = 26;

}  // namespace

void DriveLetterEnumeration(const std::function<bool(wchar_t letter)>& visit)
{
    const winapi::DWORD mask = winapi::GetLogicalDrives();
    for (int bit = 0; bit < DriveLetterCount; ++bit) {
        if ((mask & (winapi::DWORD{1} << bit)) != 0 && !visit(static_cast<wchar_t>(L'a' + bit))) {
            return;
        }
    }
}
