#pragma once

#include "framework/Test.h"

// MSXML 3 must be installed: its library must load.
class MSXML3Test : public Test {
public:
    using Test::Test;
    bool Run() override;
};
