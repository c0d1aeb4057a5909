#pragma once
// The pointing devices that the mouse check looks at, and the names of their interfaces.

#include "framework/Test.h"

#include <string>

// The text of a Win32_PointingDevice DeviceInterface value; "Unknown" for a value without one.
[[nodiscard]] std::wstring DeviceInterfaceName(int value);

// Whether the machine has a pointing device the check accepts: a laptop or a VMware virtual
// machine counts as one (recorded as "Machine is a laptop" or "Machine is a VM"); otherwise
// every pointing device that WMI knows is recorded, and the answer is whether one is PS/2. A
// COM or WMI failure counts as none.
[[nodiscard]] bool HasPs2PointingDevice(Test& test);
