#pragma once

#include "framework/Test.h"

// Every fixed, non-USB logical disk must carry an NTFS or FAT file system.
class UnformattedPartitionTest : public Test {
public:
    using Test::Test;
    bool Run() override;
};
