#pragma once

#include "framework/Test.h"

// The drive of the Program Files folder must have a number of megabytes free in one unbroken
// run of clusters.
class ContiguousFreeHardDiskSpaceTest : public Test {
public:
    explicit ContiguousFreeHardDiskSpaceTest(const std::vector<std::wstring>& parameters);
    bool Run() override;

    // One requirement for every instance: the last valid parameter of the document sets it.
    static constexpr int DefaultContiguousSpaceNeededMB = 2;
    static inline int contiguousSpaceNeededMB = DefaultContiguousSpaceNeededMB;

private:
    bool HasContiguousFreeSpace(const std::wstring& root, int neededMB);
};
