#pragma once
// The walk over the fixed volumes of the machine.

#include <functional>
#include <string>

// Offers each volume name (\\?\Volume{...}\) whose drive type is DRIVE_FIXED to visit, in the
// order Windows lists them, until visit returns false. Answers false, having visited nothing,
// when the volumes cannot be listed at all; the caller reports that in its own words.
[[nodiscard]] bool FixedVolumeEnumeration(const std::function<bool(const std::wstring& volumeName)>& visit);
