#pragma once
// The check that ReadyBoostTest and ReadyDriveTest share: both features exist, in the form the
// product cannot live with, only on the first NT 6.0 workstation release.

#include "framework/Test.h"
#include "winapi/WinTypes.h"

// Whether the Windows of the version record has ReadyBoost and ReadyDrive: NT 6.0 workstation.
[[nodiscard]] bool HasReadyFeatures(const winapi::OSVERSIONINFOEXW& version);

// The whole Run of both tests. Prints a line and passes when the version cannot be read.
bool RunReadyFeatureTest(Test& test);
