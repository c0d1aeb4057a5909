#pragma once

#include "framework/Test.h"

// Fails when a physical drive carries a GPT Windows recovery partition.
class RecoveryTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
