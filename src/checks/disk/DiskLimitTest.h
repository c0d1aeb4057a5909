#pragma once

#include "framework/Test.h"

// At most six disk drives, as WMI counts them.
class DiskLimitTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
