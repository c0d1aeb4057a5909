#pragma once

#include "framework/Test.h"

#include "winapi/WinTypes.h"

#include <cstdint>
#include <optional>

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

// The megabytes of physical memory that the Windows of the version record needs when no parameter
// says otherwise: 64 on NT 5.0, 128 on 5.1 and 5.2, 512 on every 6.x; absent for any other
// version, which the check does not support.
[[nodiscard]] std::optional<std::uint32_t> MemoryNeededByVersion(const winapi::OSVERSIONINFOW& version);
