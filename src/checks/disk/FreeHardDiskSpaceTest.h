#pragma once

#include "framework/Test.h"

// The system drive must have a number of megabytes free.
class FreeHardDiskSpaceTest : public Test {
public:
    explicit FreeHardDiskSpaceTest(const std::vector<std::wstring>& parameters);
    bool Run() override;

    // One requirement for every instance: the last valid parameter of the document sets it.
    static constexpr int DefaultFreeSpaceNeededMB = 100;
    static inline int freeSpaceNeededMB = DefaultFreeSpaceNeededMB;

private:
    bool HasFreeSpace(const std::wstring& root, int neededMB);
};
