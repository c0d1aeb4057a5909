#pragma once
// What a profile would tell of the person or the one device behind it, replaced by stand-ins
// unless the administrator keeps the real values for a support case: the computer's name in the
// WMI object paths, the serial numbers in device identifiers and disk interface paths, the MBR
// disk signatures, the GPT partition identifiers and the mount folders (which can name a
// user's folder). One real value gets one stand-in everywhere, so the records the checks join
// on (an association's device identifier and that device's own record) still meet in a replay.

#include "winapi/WinTypes.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class ProfilePrivacy {
public:
    explicit ProfilePrivacy(bool keepRealValues) : keepRealValues_(keepRealValues) {}

    // A WMI object path, "\\NAME\root\cimv2:Win32_PnPEntity.DeviceID="USB\\VID_0781&PID_5567\\SERIAL"":
    // the computer's name and the serial in the quoted identifier.
    [[nodiscard]] std::wstring ObjectPath(const std::wstring& path);
    // A Plug and Play device identifier, "USB\VID_0781&PID_5567\4C530001220711115432".
    [[nodiscard]] std::wstring DeviceId(const std::wstring& identifier);
    // A device interface path, "\\?\usbstor#disk&ven_x&prod_y&rev_1.00#4c530001220711115432&0#{...}".
    [[nodiscard]] std::wstring DevicePath(const std::wstring& path);
    // The disk signature in an MBR sector 0 (its bytes 440 to 443).
    void Sector0(std::vector<winapi::BYTE>& sector);
    [[nodiscard]] winapi::GUID PartitionId(const winapi::GUID& id);
    // A mount folder below its host's root ("C:\", or a volume name), "Users\jsmith\Photos\",
    // as the profile holds it below that root.
    [[nodiscard]] std::wstring MountFolder(const std::wstring& root, const std::wstring& folder);

private:
    // The stand-in of value in one family of values: prefix and a number counted from 1.
    [[nodiscard]] std::wstring StandIn(std::map<std::wstring, std::wstring>& standIns, const std::wstring& value,
                                       std::wstring_view prefix);
    // The serial at the head of a device instance ("4C53...&0" -> "SERIAL1&0"); an instance
    // that Plug and Play made up from the device's place ("5&27A8E1D4&0&2") is left as it is.
    [[nodiscard]] std::wstring Instance(const std::wstring& instance);

    bool keepRealValues_;
    std::map<std::wstring, std::wstring> computers_;
    // By the serial in capitals: interface paths give it in small letters.
    std::map<std::wstring, std::wstring> serials_;
    std::map<std::wstring, std::wstring> folders_;
    std::map<std::uint32_t, std::uint32_t> signatures_;
    std::map<std::array<winapi::BYTE, sizeof(winapi::GUID)>, winapi::GUID> partitionIds_;
};
