#pragma once
// Whether a volume or a disk is attached through USB, so that the disk checks can leave USB
// sticks and USB hard disks out even when Windows reports them as fixed drives.

#include "winapi/WinTypes.h"

#include <string>

// volumePath: a drive device path (\\.\c:), the same with a trailing backslash, or a volume
// name (\\?\Volume{...}\). A volume that cannot be examined counts as not on USB.
[[nodiscard]] bool IsOnUsbDrive(std::wstring volumePath);

// Whether a present disk interface on a USB bus has this device number.
[[nodiscard]] bool IsUsbDisk(winapi::DWORD diskNumber);
