#pragma once
// A failing platform call for part of a test: the call fails on the installed machine with error
// (after the first `after` calls succeed) until the ScopedFault ends, when the machine's faults
// are put back as they were.

#include "winapi/simulated/SimulatedMachine.h"

#include <cstdint>
#include <string>
#include <vector>

class ScopedFault {
public:
    ScopedFault(std::wstring call, std::uint32_t error, std::uint32_t after = 0)
        : previous_(winapi::sim::CurrentMachine().faults)
    {
        winapi::sim::CurrentMachine().faults.push_back({std::move(call), error, after, 0});
    }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;
    ~ScopedFault() { winapi::sim::CurrentMachine().faults = std::move(previous_); }

private:
    std::vector<winapi::sim::Fault> previous_;
};
