#pragma once
// The lines of the checks that look for a Windows feature by version and edition alone
// (ReadyBoost, ReadyDrive, BitLocker).

#include <string_view>

inline constexpr std::wstring_view NoVersionMessage = L"Couldn't get the os information\n";
inline constexpr std::wstring_view PresenceOnlyMessage = L"Checks only if the feature is present, not if it is running";
