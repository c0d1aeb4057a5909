#pragma once

#include "framework/Test.h"

// No fixed, non-USB volume may have folders where another volume is mounted.
class VolumeMountPointTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
