#pragma once
// The physical drives of the machine, by number: their paths, the walk over them, and whether a
// local fixed volume lies on one of them.

#include "winapi/Storage.h"
#include "winapi/WinTypes.h"

#include <functional>
#include <string>

// How the walk opens a drive; the capture opens drives the same way, so that a drive the walk
// cannot open (held by another program without read sharing, say) replays as such.
inline constexpr winapi::DWORD PhysicalDriveAccess = winapi::GENERIC_READ;
inline constexpr winapi::DWORD PhysicalDriveShare = winapi::FILE_SHARE_READ;

// "\\.\PhysicalDrive" followed by the number in decimal.
[[nodiscard]] std::wstring PhysicalDrivePath(int number);

// Opens drive 0, 1, 2, ... for reading until the first number that does not open, so drives after
// a gap in the numbering are not seen. visit gets the number, the path and the open drive (closed
// when visit returns) and returns whether to go on.
void PhysicalDriveEnumeration(
    const std::function<bool(int number, const std::wstring& path, winapi::HANDLE drive)>& visit);

// Whether some fixed volume has an extent on physical drive diskNumber.
[[nodiscard]] bool IsPhysicalDriveLocalHardDisk(int diskNumber);
