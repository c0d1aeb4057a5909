#pragma once

#include "framework/Test.h"

// Fails when the master boot records of the local, non-USB hard disks mark more than one primary
// partition active in all.
class DualBootTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
