#pragma once

#include "framework/Test.h"

// Every fixed, non-USB volume must be reachable through a drive letter.
class HiddenVolumeTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
