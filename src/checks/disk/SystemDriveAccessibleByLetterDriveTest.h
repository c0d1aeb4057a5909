#pragma once

#include "framework/Test.h"

// The Windows system directory must lie on a drive letter from A to Z.
class SystemDriveAccessibleByLetterDriveTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
