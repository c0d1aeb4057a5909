#pragma once
// What kind of machine the program runs on, as the pointing-device and laptop checks classify
// it: a laptop has a battery, a VMware virtual machine answers the backdoor I/O port.

#include <string_view>

// Whether WMI knows at least one Win32_Battery. Enters the COM apartment first and prints
// comFailureLine (the calling check's message) when that fails. Any COM or WMI failure counts
// as no battery.
[[nodiscard]] bool HasBattery(std::string_view comFailureLine);

// Whether the VMware backdoor port answers the get-version command with its magic number. On a
// physical machine the probe raises an exception, which is absorbed: no.
[[nodiscard]] bool IsVmwareVirtualMachine();
