#pragma once

#include "framework/Test.h"

// Fails on the one Windows release whose ReadyBoost and ReadyDrive features the product cannot
// live with.
class ReadyDriveTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
