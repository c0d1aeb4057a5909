#pragma once
// Whether a volume or a disk is attached through USB, so that the disk checks can leave USB
// sticks and USB hard disks out even when Windows reports them as fixed drives.

#include "winapi/SetupApi.h"
#include "winapi/Storage.h"
#include "winapi/WinTypes.h"

#include <optional>
#include <string>

// volumePath: a drive device path (\\.\c:), the same with a trailing backslash, or a volume
// name (\\?\Volume{...}\). A volume that cannot be examined counts as not on USB.
[[nodiscard]] bool IsOnUsbDrive(std::wstring volumePath);

// Whether a present disk interface on a USB bus has this device number.
[[nodiscard]] bool IsUsbDisk(winapi::DWORD diskNumber);

// The device number of an open volume or disk, or nothing if it has none.
[[nodiscard]] std::optional<winapi::STORAGE_DEVICE_NUMBER> GetDeviceNumber(winapi::HANDLE device);

// The device path of one interface of a SetupAPI list, or nothing if SetupAPI does not give it.
[[nodiscard]] std::optional<std::wstring> InterfaceDevicePath(winapi::HDEVINFO list,
                                                              const winapi::SP_DEVICE_INTERFACE_DATA& interfaceData);
