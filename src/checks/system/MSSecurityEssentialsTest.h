#pragma once

#include "framework/Test.h"

// Microsoft Security Essentials must not be installed: its uninstall key must be absent.
class MSSecurityEssentialsTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
