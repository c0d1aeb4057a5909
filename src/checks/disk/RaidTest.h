#pragma once

#include "framework/Test.h"

// No physical drive among the first 32 may sit on a RAID bus.
class RaidTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
