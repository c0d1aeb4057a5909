#pragma once
// The check that ReadyBoostTest and ReadyDriveTest share: both features exist, in the form the
// product cannot live with, only on the first NT 6.0 workstation release.

#include "framework/Test.h"

// True on NT 6.0 workstation. Prints a line and answers false when the version is unknown.
[[nodiscard]] bool IsReadyBoostSystem(Test& test);

// The whole Run of both tests.
bool RunReadyFeatureTest(Test& test);
