#pragma once

#include "framework/Test.h"

#include "winapi/WinTypes.h"

// The machine must have enough physical memory: the parameter's megabytes, or by default the
// amount its Windows version needs. WMI's memory figures are printed for diagnosis only.
class MemoryTest : public Test {
public:
    explicit MemoryTest(const std::vector<std::wstring>& parameters);
    bool Run() override;

    // One requirement for every instance: the last valid parameter of the document sets it; -1
    // leaves it to the Windows version.
    static constexpr int DefaultMemoryNeededMB = -1;
    static inline int memoryNeededMB = DefaultMemoryNeededMB;

private:
    winapi::HRESULT ReportWmiMemory();
    bool CheckMemory();
    bool CheckInstalledMemory(std::uint32_t neededMB);
};
