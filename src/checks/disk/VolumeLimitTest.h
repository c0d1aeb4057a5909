#pragma once

#include "framework/Test.h"

// At most twelve fixed, non-USB volumes.
class VolumeLimitTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
