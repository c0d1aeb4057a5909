#pragma once
// The simulated machine of one test. Installing a machine is process-wide: a test that installs
// one and leaves it behind hands its machine, its open handles, its apartment and its journal to
// whichever test the binary runs next. A ScopedMachine installs the machine of a profile in a
// fresh simulated process and, when the test ends, puts back the process as it found it (the
// machine installed before, in a fresh process again).

#include "winapi/simulated/SimulatedMachine.h"

#include <string_view>

class ScopedMachine {
public:
    // The test fails, and the machine stays empty, when the profile is refused.
    explicit ScopedMachine(std::string_view profile);
    explicit ScopedMachine(winapi::sim::Machine machine);
    ScopedMachine(const ScopedMachine&) = delete;
    ScopedMachine& operator=(const ScopedMachine&) = delete;
    ~ScopedMachine();

    // Another machine for the rest of the test, in a fresh process again.
    void Install(std::string_view profile);

    // The installed machine, for a test that changes it after the profile is read.
    [[nodiscard]] winapi::sim::Machine& Machine() { return winapi::sim::CurrentMachine(); }

private:
    winapi::sim::Machine previous_;
};
