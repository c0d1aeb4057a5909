#pragma once
// The names of the pointing-device interfaces that WMI reports, as the mouse check records them.

#include <string>

// The DeviceInterface value of a PS/2 pointing device.
inline constexpr int Ps2Interface = 4;

// The text of a Win32_PointingDevice DeviceInterface value; "Unknown" for a value without one.
[[nodiscard]] std::wstring DeviceInterfaceName(int value);
