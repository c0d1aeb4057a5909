#pragma once
// The walk over the drive letters of the machine.

#include <functional>

// Offers each letter that GetLogicalDrives reports, in lower case and in order from a to z,
// until visit returns false.
void DriveLetterEnumeration(const std::function<bool(wchar_t letter)>& visit);
