#pragma once

#include "framework/Test.h"

// Fails when a physical drive carries a Logical Disk Manager (dynamic disk) partition, in an MBR
// or a GPT table.
class DynamicVolumeTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
