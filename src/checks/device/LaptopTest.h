#pragma once

#include "framework/Test.h"

// Passes on a laptop (a machine with a battery) or a VMware virtual machine; fails on a desktop.
class LaptopTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
