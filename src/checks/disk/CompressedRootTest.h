#pragma once

#include "framework/Test.h"

// No fixed volume may have a compressed root folder.
class CompressedRootTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
