#pragma once

#include "framework/Test.h"

// Passes on a laptop, on a VMware virtual machine and on a desktop with a PS/2 pointing device;
// fails on a desktop without one.
class DesktopAndPS2MouseTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
