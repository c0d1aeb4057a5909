#pragma once

#include "framework/Test.h"

// No physical drive may be larger than 1,048,576 MB (2^40 bytes).
class DiskSizeLimitTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
