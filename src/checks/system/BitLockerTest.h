#pragma once

#include "framework/Test.h"

// The Windows edition must not include BitLocker drive encryption (whether it is in use is not
// examined).
class BitLockerTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    bool IsBitLockerAvailable();
};
